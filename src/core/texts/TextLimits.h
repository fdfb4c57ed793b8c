#pragma once
#include <cstddef>

// Most text lists a group may hold (the list count is one byte in the file)
// and most texts that may share one DW (the run count is one byte).
constexpr int kMaxTextListen = 255;
constexpr int kMaxTextsPerRun = 255;
// Width of group and list names in the file: blank-padded to 32 characters.
constexpr size_t kTextNameWidth = 32;
// Longest message text the dialog accepts, in editing form.
constexpr size_t kMaxMeldetextLength = 80;

