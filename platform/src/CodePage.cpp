#include "platform/CodePage.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isUtf8Name(const std::string& cs)
{
    std::string n;
    for (char c : cs)
        if (c != '-' && c != '_')
            n += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return n == "UTF8";
}

std::string firstLocaleVariable()
{
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"})
        if (const char* v = std::getenv(name); v && *v)
            return v;
    return "";
}

// The code set named in a locale name: "de_DE.ISO-8859-1@euro" -> "ISO-8859-1".
std::string codesetOfName(const std::string& name)
{
    auto dot = name.find('.');
    if (dot == std::string::npos)
        return "";
    auto at = name.find('@', dot);
    return name.substr(dot + 1, at == std::string::npos ? std::string::npos : at - dot - 1);
}

bool iconvKnows(const std::string& charset)
{
    iconv_t cd = iconv_open("UTF-16LE", charset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    iconv_close(cd);
    return true;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// UTF-16 to UTF-8; a lone surrogate becomes `bad`.
std::string utf16ToUtf8(const std::u16string& s, const char* bad)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            out += bad;
            continue;
        }
        appendUtf8(out, c);
    }
    return out;
}

// Converts through iconv; on a sequence that does not convert, appends
// `bad` (already in the target encoding) and skips one input unit.
std::string iconvConvert(const char* to, const char* from, const std::string& in, size_t unit,
                         const std::string& bad, bool& ok)
{
    ok = false;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    std::string out;
    char buf[4096];
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    while (left > 0) {
        char* dst = buf;
        size_t room = sizeof buf;
        size_t r = iconv(cd, &src, &left, &dst, &room);
        out.append(buf, static_cast<size_t>(dst - buf));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (truncated input): replace one unit and go on.
            size_t skip = std::min(unit, left);
            src += skip;
            left -= skip;
            out += bad;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    char* dst = buf;
    size_t room = sizeof buf;
    iconv(cd, nullptr, nullptr, &dst, &room);
    out.append(buf, static_cast<size_t>(dst - buf));
    iconv_close(cd);
    ok = true;
    return out;
}

std::u16string fromUtf16LeBytes(const std::string& bytes)
{
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return out;
}

std::string toUtf16LeBytes(const std::u16string& s)
{
    std::string out(s.size() * 2, '\0');
    for (size_t i = 0; i < s.size(); ++i) {
        out[2 * i] = static_cast<char>(s[i] & 0xFF);
        out[2 * i + 1] = static_cast<char>(s[i] >> 8);
    }
    return out;
}

}  // namespace

std::string SystemCharset()
{
    // The C library may lack the user's locale (only C and C.UTF-8 here), so
    // ask it first and fall back to the code set named in the variable.
    std::string name = firstLocaleVariable();
    if (name.empty() || name == "C" || name == "POSIX")
        return "UTF-8";
    std::string charset;
    if (locale_t loc = newlocale(LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(0))) {
        charset = nl_langinfo_l(CODESET, loc);
        freelocale(loc);
    } else {
        charset = codesetOfName(name);
    }
    if (charset.empty() || charset == "ANSI_X3.4-1968" || isUtf8Name(charset) ||
        !iconvKnows(charset))
        return "UTF-8";
    return charset;
}

std::u16string Utf8ToUtf16(const std::string& s)
{
    std::u16string out;
    out.reserve(s.size());
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    size_t n = s.size();
    for (size_t i = 0; i < n;) {
        unsigned char b = p[i];
        char32_t c;
        size_t len;
        if (b < 0x80) {
            out += static_cast<char16_t>(b);
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            c = b & 0x1F;
            len = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            c = b & 0x0F;
            len = 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            c = b & 0x07;
            len = 4;
        } else {
            out += kReplacement;
            ++i;
            continue;
        }
        size_t k = 1;
        for (; k < len && i + k < n && (p[i + k] & 0xC0) == 0x80; ++k)
            c = (c << 6) | (p[i + k] & 0x3F);
        bool valid = k == len && !(len == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) &&
                     !(len == 4 && (c < 0x10000 || c > 0x10FFFF));
        if (!valid) {
            out += kReplacement;
            i += std::max<size_t>(1, k);
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += len;
    }
    return out;
}

std::string Utf16ToUtf8(const std::u16string& s) { return utf16ToUtf8(s, "\xEF\xBF\xBD"); }

std::u16string AnsiToWide(const std::string& s)
{
    std::string cs = SystemCharset();
    if (cs != "UTF-8") {
        bool ok;
        std::string bytes = iconvConvert("UTF-16LE", cs.c_str(), s, 1, "\xFD\xFF", ok);
        if (ok)
            return fromUtf16LeBytes(bytes);
    }
    return Utf8ToUtf16(s);
}

std::string WideToAnsi(const std::u16string& s)
{
    std::string cs = SystemCharset();
    if (cs != "UTF-8") {
        bool ok;
        std::string out = iconvConvert(cs.c_str(), "UTF-16LE", toUtf16LeBytes(s), 2, "?", ok);
        if (ok)
            return out;
    }
    return utf16ToUtf8(s, "?");
}

}  // namespace platform
