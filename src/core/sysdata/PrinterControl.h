#pragma once
#include <array>
#include <string>

// The eleven printer control sequences of the serial log printer, in the
// order the system data list stores them: reset, carriage return, line feed,
// paper length, wide print on/off, underline on/off, pitch 0/1/2.
constexpr int kPrinterControlCount = 11;
using PrinterControls = std::array<std::string, kPrinterControlCount>;

// The sequences of a new system data list (and of the "Example" preset).
const PrinterControls& DefaultPrinterControls();

// Each byte as two upper-case hexadecimal digits and a blank ("1B 45 ").
std::string FormatControlHex(const std::string& sequence);

// Hexadecimal numbers separated by white space, each 1 to 255; trailing
// white space allowed, empty text gives the empty sequence. False for
// anything else (a zero byte, a value above FF, any other character).
bool ParseControlHex(const std::string& text, std::string& sequence);
