// The target folder: its default, the folder picker and opening it in the shell.
#pragma once

void defaultTargetFolder();
void pickTargetFolder();
void openTargetFolder();
