#include "FileTreeNames.h"

#include <cstdint>

namespace kvsdk {

namespace {

std::string IsoCharacters(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c >= 'a' && c <= 'z')
            out += static_cast<char>(c - 'a' + 'A');
        else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')
            out += static_cast<char>(c);
        else if (c < 0x80 || c >= 0xC0)
            out += '_';  // one "_" per character, not per UTF-8 byte
    }
    return out;
}

// Cuts base to at most max characters, keeping its trailing digits.
std::string FitBase(const std::string& base, size_t max) {
    if (base.size() <= max)
        return base;
    size_t digitsStart = base.size();
    while (digitsStart > 0 && base[digitsStart - 1] >= '0' && base[digitsStart - 1] <= '9')
        --digitsStart;
    size_t digits = base.size() - digitsStart;
    if (digits >= max)
        return base.substr(base.size() - max);
    return base.substr(0, max - digits) + base.substr(digitsStart);
}

}  // namespace

std::string Iso9660Name(const std::string& name, bool isFolder, bool level2) {
    std::string plain = name;
    size_t semicolon = plain.rfind(';');
    if (semicolon != std::string::npos)
        plain.erase(semicolon);
    std::string result;
    if (isFolder) {
        result = FitBase(IsoCharacters(plain), level2 ? 31 : 8);
    } else {
        size_t dot = plain.rfind('.');
        std::string base = dot == std::string::npos ? plain : plain.substr(0, dot);
        std::string ext = dot == std::string::npos ? std::string() : IsoCharacters(plain.substr(dot + 1));
        if (ext.size() > 3)
            ext.resize(3);
        base = IsoCharacters(base);
        size_t maxBase = level2 ? 30 - (ext.empty() ? 0 : ext.size() + 1) : 8;
        base = FitBase(base, maxBase);
        if (base.empty() && ext.empty())
            base = "_";
        result = ext.empty() ? base : base + "." + ext;
    }
    return result.empty() ? "_" : result;
}

std::string JolietName(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        if (c == '/' || c == '\\')
            c = '_';
    return out.empty() ? "_" : out;
}

std::u16string Utf8ToUtf16(const std::string& text) {
    std::u16string out;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        uint32_t cp = 0xFFFD;
        size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
        }
        if (len > 1) {
            if (i + len > text.size()) {
                len = 1;
            } else {
                cp = c & (0xFF >> (len + 1));
                for (size_t k = 1; k < len; ++k) {
                    unsigned char cc = static_cast<unsigned char>(text[i + k]);
                    if ((cc & 0xC0) != 0x80) {
                        cp = 0xFFFD;
                        len = k;
                        break;
                    }
                    cp = (cp << 6) | (cc & 0x3F);
                }
            }
        }
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp > 0x10FFFF ? 0xFFFD : cp);
        }
        i += len;
    }
    return out;
}

std::string Utf16ToUtf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

}  // namespace kvsdk
