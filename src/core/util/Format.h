#pragma once
#include <string>
#include <variant>
#include <vector>

// A small printf for the string table's patterns. Supports flags "-0+ #",
// width, precision and the conversions s, d, i, u, x, X, c and %%. Missing
// arguments print as empty text or 0, a wrong-typed argument is converted;
// nothing ever reads past the argument list.
using FormatArg = std::variant<long, std::string>;
std::string FormatString(const std::string& pattern, const std::vector<FormatArg>& args);

// Convenience for the common "%d" of a single number.
std::string FormatInt(long value);
