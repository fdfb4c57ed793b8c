#pragma once
#include <string>
#include <vector>

#include "CliCommon.h"

// px920 dir|load|read|delete: the module commands of the project window on
// the command line. command is one of the four words; args follow it.
int RunDeviceCommand(const std::string& command, const CliOptions& opt, const std::vector<std::string>& args);
