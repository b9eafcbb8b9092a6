#include "Utf16.h"

#include <bit>
#include <cerrno>
#include <iconv.h>
#include <memory>
#include <vector>

namespace kvlang {

std::u16string FromCString(const char16_t* s)
{
    return s ? std::u16string(s) : std::u16string();
}

std::string Utf16ToUtf8(const std::u16string& s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        uint32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;  // a lone surrogate has no UTF-8 form
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(const std::string& s)
{
    return Decode(s, "UTF-8").value_or(std::u16string());
}

std::u16string AsciiLower(std::u16string s)
{
    for (auto& c : s)
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c - u'A' + u'a');
    return s;
}

std::string AsciiLower(std::string s)
{
    for (auto& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

bool CharsetKnown(const std::string& charset)
{
    iconv_t cd = iconv_open("UTF-16LE", charset.c_str());
    if (cd == iconv_t(-1))
        return false;
    iconv_close(cd);
    return true;
}

std::optional<std::u16string> Decode(const std::string& bytes, const std::string& charset)
{
    static_assert(std::endian::native == std::endian::little, "UTF-16LE is the host order");
    if (bytes.empty())
        return std::u16string();
    iconv_t cd = iconv_open("UTF-16LE", charset.c_str());
    if (cd == iconv_t(-1))
        return std::nullopt;
    std::unique_ptr<void, int (*)(iconv_t)> guard(cd, iconv_close);

    std::vector<char16_t> out(bytes.size() + 4);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* dst = reinterpret_cast<char*>(out.data());
    size_t outLeft = out.size() * sizeof(char16_t);
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) == size_t(-1)) {
            if (errno != E2BIG)
                return std::nullopt;  // EILSEQ or EINVAL: not text in this charset
            size_t used = size_t(dst - reinterpret_cast<char*>(out.data()));
            out.resize(out.size() * 2);
            dst = reinterpret_cast<char*>(out.data()) + used;
            outLeft = out.size() * sizeof(char16_t) - used;
        }
    }
    size_t used = size_t(dst - reinterpret_cast<char*>(out.data())) / sizeof(char16_t);
    return std::u16string(out.data(), used);
}

}  // namespace kvlang
