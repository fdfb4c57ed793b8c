#include "util/Format.h"

#include <cstdio>

std::string FormatString(const std::string& pattern, const std::vector<FormatArg>& args)
{
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char ch = pattern[i];
        if (ch != '%') {
            out += ch;
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // Parse "%[flags][width][.precision][l|h]conv" into a safe directive.
        size_t j = i + 1;
        std::string directive = "%";
        while (j < pattern.size() && std::string("-0+ #").find(pattern[j]) != std::string::npos)
            directive += pattern[j++];
        int digits = 0;
        while (j < pattern.size() && isdigit(static_cast<unsigned char>(pattern[j])) && digits < 3) {
            directive += pattern[j++];
            ++digits;
        }
        if (j < pattern.size() && pattern[j] == '.') {
            directive += pattern[j++];
            digits = 0;
            while (j < pattern.size() && isdigit(static_cast<unsigned char>(pattern[j])) && digits < 3) {
                directive += pattern[j++];
                ++digits;
            }
        }
        while (j < pattern.size() && (pattern[j] == 'l' || pattern[j] == 'h'))
            ++j;
        if (j >= pattern.size()) {
            out += pattern.substr(i);
            break;
        }
        char conv = pattern[j];
        const FormatArg* arg = next < args.size() ? &args[next] : nullptr;
        char buf[512];
        switch (conv) {
        case 's': {
            std::string s;
            if (arg) s = std::holds_alternative<std::string>(*arg) ? std::get<std::string>(*arg)
                                                                   : std::to_string(std::get<long>(*arg));
            ++next;
            // Width and precision handled by hand so that long texts are never cut by the buffer.
            if (directive.size() == 1) {
                out += s;
            } else {
                size_t prec = std::string::npos;
                size_t dot = directive.find('.');
                if (dot != std::string::npos) prec = std::stoul("0" + directive.substr(dot + 1));
                if (prec < s.size()) s.resize(prec);
                size_t width = 0;
                size_t k = 1;
                bool left = false;
                while (k < directive.size() && std::string("-0+ #").find(directive[k]) != std::string::npos) {
                    if (directive[k] == '-') left = true;
                    ++k;
                }
                while (k < directive.size() && isdigit(static_cast<unsigned char>(directive[k]))) width = width * 10 + (directive[k++] - '0');
                if (s.size() < width) {
                    if (left) s.append(width - s.size(), ' ');
                    else s.insert(0, width - s.size(), ' ');
                }
                out += s;
            }
            break;
        }
        case 'd': case 'i': case 'u': case 'x': case 'X': case 'c': {
            long v = 0;
            if (arg && std::holds_alternative<long>(*arg)) v = std::get<long>(*arg);
            else if (arg) v = std::strtol(std::get<std::string>(*arg).c_str(), nullptr, 10);
            ++next;
            std::string fmt = directive;
            if (conv == 'c') {
                fmt += 'c';
                std::snprintf(buf, sizeof buf, fmt.c_str(), static_cast<int>(v));
            } else if (conv == 'd' || conv == 'i') {
                fmt += "ld";
                std::snprintf(buf, sizeof buf, fmt.c_str(), v);
            } else {
                fmt += 'l';
                fmt += conv;
                // The original works with 32-bit unsigned values.
                std::snprintf(buf, sizeof buf, fmt.c_str(), static_cast<unsigned long>(static_cast<unsigned int>(v)));
            }
            out += buf;
            break;
        }
        default:
            out += pattern.substr(i, j - i + 1);
            break;
        }
        i = j;
    }
    return out;
}

std::string FormatInt(long value) { return std::to_string(value); }
