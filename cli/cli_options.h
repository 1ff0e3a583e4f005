// The console program's command line: arguments in, the settings of a run or
// of a forecast out, or a usage error that names the problem. Numbers follow
// the window's rules, so the same settings give the same files.
#pragma once

#include <string>
#include <vector>

#include "settings/scaling.h"

struct CliOptions {
    std::vector<std::wstring> paths;
    std::wstring targetFolder;
    ConversionSettings settings;
    unsigned workers = 0;  // 0: as many as processors and memory allow
    bool forecastOnly = false;
    bool help = false;
};

struct ParsedArguments {
    CliOptions options;
    std::wstring error;  // empty unless a usage error
};

// The arguments after the program's name.
ParsedArguments parseArguments(const std::vector<std::wstring>& arguments);

std::wstring usageText();
