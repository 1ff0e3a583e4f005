// The batch run behind "Konvertierung starten": checks, then every image of
// the list converted in order, with progress, a responsive window and a summary.
#pragma once

void runBatchConversion();
// Handles every message waiting in the thread's queue, then returns.
void pumpPendingMessages();
