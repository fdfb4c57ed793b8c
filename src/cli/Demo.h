#pragma once
#include <string>

// Writes the demo project (a sewage plant) into dir. Returns false with a
// message on stderr when the directory cannot be used.
bool WriteDemoProject(const std::string& dir);
