#pragma once
// Case tables print through these (from a PrintTo beside the case struct),
// so that value-parameterised tests show as text in test lists and CTest
// names instead of raw bytes. The output stays on one line and holds no
// square brackets, which test discovery cannot carry in a name.

#include <cstdio>
#include <string>
#include <vector>

namespace kvtest {

// Text in double quotes; quotes, backslashes, square brackets, control
// characters and bytes outside ASCII escaped.
inline std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c > 0x7e || c == '[' || c == ']') {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// An argument vector as one line: plain words as they are, others quoted;
// "no arguments" for none.
inline std::string Arguments(const std::vector<std::string>& args)
{
    if (args.empty())
        return "no arguments";
    std::string out;
    for (const std::string& a : args) {
        bool plain = !a.empty();
        for (unsigned char c : a)
            plain = plain && c > 0x20 && c < 0x7f && c != '"' && c != '\\' && c != '[' && c != ']';
        if (!out.empty())
            out += ' ';
        out += plain ? a : Quoted(a);
    }
    return out;
}

}  // namespace kvtest
