#include "platform/IniFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "FileUtil.h"

namespace platform {

namespace {

constexpr size_t kMaxValueChars = 2047;

std::string trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return "";
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

// Cuts UTF-8 text after `chars` characters without splitting one.
std::string cutChars(const std::string& s, size_t chars)
{
    size_t count = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (count == chars)
                return s.substr(0, i);
            ++count;
        }
    }
    return s;
}

struct Entry {
    std::string Section, Key, Value;
};

// Every key=value line of the file with its section; garbage is skipped.
std::vector<Entry> readEntries(const std::string& fileName, std::vector<std::string>* sections)
{
    std::vector<Entry> entries;
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return entries;
    std::string line, section;
    bool inSection = false;
    bool first = true;
    while (std::getline(in, line)) {
        if (first && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        first = false;
        std::string t = trim(line);
        if (t.empty() || t[0] == ';' || t[0] == '#')
            continue;
        if (t[0] == '[') {
            auto close = t.find(']');
            if (close == std::string::npos)
                continue;  // a broken section header starts nothing
            section = trim(t.substr(1, close - 1));
            inSection = true;
            if (sections)
                sections->push_back(section);
            continue;
        }
        auto eq = t.find('=');
        if (!inSection || eq == std::string::npos)
            continue;
        std::string key = trim(t.substr(0, eq));
        if (key.empty())
            continue;
        std::string value = trim(t.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        entries.push_back({section, key, value});
    }
    return entries;
}

bool sameName(const std::string& a, const std::string& b)
{
    return detail::FoldCase(a) == detail::FoldCase(b);
}

}  // namespace

std::string GetPrivateProfileString(const std::string& Section, const std::string& Key,
                                    const std::string& Default, const std::string& FileName)
{
    for (const Entry& e : readEntries(FileName, nullptr))
        if (sameName(e.Section, Section) && sameName(e.Key, Key))
            return cutChars(e.Value, kMaxValueChars);
    return cutChars(Default, kMaxValueChars);
}

TIniFile::TIniFile(const std::string& FileName) : fileName_(FileName) {}

std::string TIniFile::ReadString(const std::string& Section, const std::string& Key,
                                 const std::string& Default) const
{
    return GetPrivateProfileString(Section, Key, Default, fileName_);
}

int TIniFile::ReadInteger(const std::string& Section, const std::string& Key, int Default) const
{
    std::string v = ReadString(Section, Key, "");
    if (v.empty())
        return Default;
    const char* p = v.c_str();
    bool negative = false;
    if (*p == '-' || *p == '+')
        negative = *p++ == '-';
    int base = 10;
    if (*p == '$') {
        base = 16;
        ++p;
    } else if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    }
    if (!*p)
        return Default;
    char* end = nullptr;
    errno = 0;
    long long n = std::strtoll(p, &end, base);
    if (*end || errno || *p == '-' || *p == '+' || *p == ' ')
        return Default;
    if (negative)
        n = -n;
    if (n < INT32_MIN || n > (base == 16 ? static_cast<long long>(UINT32_MAX) : INT32_MAX))
        return Default;
    return static_cast<int>(static_cast<int64_t>(n));
}

bool TIniFile::ReadBool(const std::string& Section, const std::string& Key, bool Default) const
{
    return ReadInteger(Section, Key, Default ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const std::string& Section) const
{
    std::vector<std::string> sections;
    readEntries(fileName_, &sections);
    for (auto& s : sections)
        if (sameName(s, Section))
            return true;
    return false;
}

std::vector<std::string> TIniFile::ReadSection(const std::string& Section) const
{
    std::vector<std::string> keys;
    for (const Entry& e : readEntries(fileName_, nullptr)) {
        if (!sameName(e.Section, Section))
            continue;
        bool seen = false;
        for (auto& k : keys)
            seen = seen || sameName(k, e.Key);
        if (!seen)
            keys.push_back(e.Key);
    }
    return keys;
}

}  // namespace platform
