#pragma once
#include <string>
#include <vector>

#include "CliCommon.h"

// "px920 texts export PROJECT TGROUP" writes the group's texts as CSV to
// stdout; "px920 texts import PROJECT TGROUP FILE [--name NAME]" replaces the
// group's lists and texts with the file's.
int RunTextsCommand(const CliOptions& opt, const std::vector<std::string>& args);
