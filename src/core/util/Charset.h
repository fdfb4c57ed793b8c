#pragma once
#include <string>

// Display bytes (Windows-1252 / Windows-1251) to and from UTF-8 for the
// screen and the terminal. Characters a code page cannot hold become '?'.
std::string Cp1252ToUtf8(const std::string& bytes);
std::string Utf8ToCp1252(const std::string& utf8);
std::string Cp1251ToUtf8(const std::string& bytes);
std::string Utf8ToCp1251(const std::string& utf8);

// The code page of the display: Windows-1251 when the Cyrillic character set
// is active, otherwise Windows-1252.
std::string DisplayToUtf8(const std::string& bytes, bool cyrillic);
std::string Utf8ToDisplay(const std::string& utf8, bool cyrillic);

// Conversion between the module's character set and the screen's. Identity
// unless the Cyrillic character set is active; then the module side is
// KOI-7 N2 and the screen side Windows-1251.
std::string ToDisplayCharset(const std::string& device, bool cyrillic);
std::string ToDeviceCharset(const std::string& display, bool cyrillic);
// The same, with the application's current Charset setting.
std::string ToDisplayCharset(const std::string& device);
std::string ToDeviceCharset(const std::string& display);
