#include "platform/Registry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <algorithm>

#include "FileUtil.h"
#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

namespace platform {

namespace {

constexpr uint32_t REG_SZ = 1;
constexpr uint32_t REG_EXPAND_SZ = 2;
constexpr uint32_t REG_BINARY = 3;
constexpr uint32_t REG_DWORD = 4;

const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A value: string types keep UTF-8 text in Data, the others raw bytes
// (REG_DWORD as four little-endian bytes).
struct RegValue {
    std::string Name;
    uint32_t Type = REG_SZ;
    std::string Data;
};

struct RegKey {
    std::string Path;  // as first created, without leading backslash
    std::vector<RegValue> Values;

    RegValue* find(const std::string& name)
    {
        std::string f = detail::FoldCase(name);
        for (auto& v : Values)
            if (detail::FoldCase(v.Name) == f)
                return &v;
        return nullptr;
    }
    const RegValue* find(const std::string& name) const
    {
        return const_cast<RegKey*>(this)->find(name);
    }
};

// "\a\\b\" -> "a\b"
std::string normalizePath(const std::string& path)
{
    std::string out;
    size_t i = 0;
    while (i < path.size()) {
        size_t j = path.find('\\', i);
        if (j == std::string::npos)
            j = path.size();
        if (j > i) {
            if (!out.empty())
                out += '\\';
            out.append(path, i, j - i);
        }
        i = j + 1;
    }
    return out;
}

// One hive in memory. Keys are kept by their case-folded path; the root
// key "" always exists.
struct Hive {
    std::map<std::string, RegKey> Keys;

    Hive() { Keys[""] = RegKey{}; }

    RegKey* find(const std::string& path)
    {
        auto it = Keys.find(detail::FoldCase(path));
        return it == Keys.end() ? nullptr : &it->second;
    }
    const RegKey* find(const std::string& path) const
    {
        auto it = Keys.find(detail::FoldCase(path));
        return it == Keys.end() ? nullptr : &it->second;
    }

    RegKey& create(const std::string& path)
    {
        size_t pos = 0;
        RegKey* key = &Keys[""];
        while (pos <= path.size() && !path.empty()) {
            size_t j = path.find('\\', pos);
            if (j == std::string::npos)
                j = path.size();
            std::string sub = path.substr(0, j);
            auto [it, added] = Keys.try_emplace(detail::FoldCase(sub));
            if (added)
                it->second.Path = sub;
            key = &it->second;
            pos = j + 1;
        }
        return *key;
    }

    bool remove(const std::string& path)
    {
        std::string f = detail::FoldCase(path);
        if (f.empty() || !Keys.count(f))
            return false;
        std::string prefix = f + "\\";
        for (auto it = Keys.begin(); it != Keys.end();) {
            if (it->first == f || it->first.rfind(prefix, 0) == 0)
                it = Keys.erase(it);
            else
                ++it;
        }
        return true;
    }

    std::vector<std::string> children(const std::string& path) const
    {
        std::string f = detail::FoldCase(path);
        std::string prefix = f.empty() ? "" : f + "\\";
        std::vector<std::string> names;
        for (auto& [k, key] : Keys) {
            if (k.empty() || k.rfind(prefix, 0) != 0 || k.size() == prefix.size())
                continue;
            if (k.find('\\', prefix.size()) != std::string::npos)
                continue;
            names.push_back(key.Path.substr(prefix.size()));
        }
        return names;
    }
};

const char* rootName(HKEY root)
{
    return root == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

// ---- REGEDIT4 text -------------------------------------------------------

class ParseError {
public:
    explicit ParseError(std::string why) : Why(std::move(why)) {}
    std::string Why;
};

std::string trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

// Reads a quoted string starting at s[pos] == '"'; pos ends after the
// closing quote.
std::string readQuoted(const std::string& s, size_t& pos)
{
    std::string out;
    ++pos;
    while (pos < s.size()) {
        char c = s[pos++];
        if (c == '"')
            return out;
        if (c == '\\') {
            if (pos >= s.size())
                break;
            char e = s[pos++];
            switch (e) {
            case '\\': out += '\\'; break;
            case '"': out += '"'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case '0': out += '\0'; break;
            default: throw ParseError(std::string("unknown escape \\") + e);
            }
        } else {
            out += c;
        }
    }
    throw ParseError("unterminated quoted text");
}

std::string quote(const std::string& s)
{
    std::string out = "\"";
    for (char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\0': out += "\\0"; break;
        default: out += c;
        }
    }
    return out + "\"";
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string parseHexBytes(const std::string& s)
{
    std::string out;
    size_t i = 0;
    auto skipBlank = [&] {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r'))
            ++i;
    };
    skipBlank();
    if (i == s.size())
        return out;
    for (;;) {
        skipBlank();
        int hi = i < s.size() ? hexDigit(s[i]) : -1;
        int lo = i + 1 < s.size() ? hexDigit(s[i + 1]) : -1;
        if (hi < 0 || lo < 0)
            throw ParseError("bad hexadecimal byte");
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        skipBlank();
        if (i == s.size())
            return out;
        if (s[i] != ',')
            throw ParseError("bad hexadecimal byte list");
        ++i;
    }
}

std::string utf16leToUtf8(const std::string& bytes)
{
    std::u16string w;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        w += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                   (static_cast<unsigned char>(bytes[i + 1]) << 8));
    while (!w.empty() && w.back() == u'\0')
        w.pop_back();
    return Utf16ToUtf8(w);
}

std::string utf8ToUtf16le(const std::string& text)
{
    std::u16string w = Utf8ToUtf16(text);
    std::string out;
    for (char16_t c : w) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    out += std::string(2, '\0');
    return out;
}

RegValue parseValue(const std::string& line)
{
    RegValue v;
    size_t pos = 0;
    if (line[0] == '@') {
        pos = 1;
    } else {
        v.Name = readQuoted(line, pos);
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    if (pos >= line.size() || line[pos] != '=')
        throw ParseError("'=' expected after the value name");
    std::string data = trim(line.substr(pos + 1));
    if (!data.empty() && data[0] == '"') {
        size_t p = 0;
        v.Type = REG_SZ;
        v.Data = readQuoted(data, p);
        if (!trim(data.substr(p)).empty())
            throw ParseError("text after the closing quote");
        return v;
    }
    if (data.rfind("dword:", 0) == 0) {
        std::string digits = trim(data.substr(6));
        if (digits.empty() || digits.size() > 8)
            throw ParseError("bad dword value");
        uint32_t n = 0;
        for (char c : digits) {
            int d = hexDigit(c);
            if (d < 0)
                throw ParseError("bad dword value");
            n = n * 16 + static_cast<uint32_t>(d);
        }
        v.Type = REG_DWORD;
        for (int i = 0; i < 4; ++i)
            v.Data += static_cast<char>((n >> (8 * i)) & 0xFF);
        return v;
    }
    if (data.rfind("hex", 0) == 0) {
        size_t colon = data.find(':');
        if (colon == std::string::npos)
            throw ParseError("':' expected after hex");
        std::string kind = data.substr(3, colon - 3);
        uint32_t type = REG_BINARY;
        if (!kind.empty()) {
            if (kind.size() < 3 || kind.front() != '(' || kind.back() != ')')
                throw ParseError("bad value type " + kind);
            type = 0;
            for (char c : kind.substr(1, kind.size() - 2)) {
                int d = hexDigit(c);
                if (d < 0)
                    throw ParseError("bad value type " + kind);
                type = type * 16 + static_cast<uint32_t>(d);
            }
        }
        std::string bytes = parseHexBytes(data.substr(colon + 1));
        v.Type = type;
        if (type == REG_SZ || type == REG_EXPAND_SZ)
            v.Data = utf16leToUtf8(bytes);
        else
            v.Data = bytes;
        return v;
    }
    throw ParseError("unknown value data \"" + data + "\"");
}

Hive parseHive(const std::string& text, const std::string& file, HKEY root)
{
    Hive hive;
    RegKey* current = nullptr;
    size_t lineNo = 0;
    size_t pos = 0;
    bool sawHeader = false;
    std::string rootUpper = rootName(root);
    auto nextLine = [&](std::string& line) {
        if (pos >= text.size())
            return false;
        size_t e = text.find('\n', pos);
        if (e == std::string::npos)
            e = text.size();
        line = text.substr(pos, e - pos);
        pos = e + 1;
        ++lineNo;
        return true;
    };
    std::string raw;
    try {
        while (nextLine(raw)) {
            if (lineNo == 1 && raw.rfind("\xEF\xBB\xBF", 0) == 0)
                raw.erase(0, 3);
            std::string line = trim(raw);
            if (line.empty() || line[0] == ';')
                continue;
            if (!sawHeader) {
                if (line != "REGEDIT4" && line != "Windows Registry Editor Version 5.00")
                    throw ParseError("REGEDIT4 header expected");
                sawHeader = true;
                continue;
            }
            if (line[0] == '[') {
                if (line.back() != ']')
                    throw ParseError("']' expected");
                std::string path = line.substr(1, line.size() - 2);
                size_t bs = path.find('\\');
                std::string head = path.substr(0, bs);
                if (detail::FoldCase(head) != detail::FoldCase(rootUpper))
                    throw ParseError("key outside " + rootUpper);
                current = &hive.create(
                    normalizePath(bs == std::string::npos ? "" : path.substr(bs + 1)));
                continue;
            }
            if (line[0] != '"' && line[0] != '@')
                throw ParseError("key or value expected");
            if (!current)
                throw ParseError("value before the first key");
            // Long hexadecimal data continues on the next lines after a "\".
            while (line.back() == '\\' && line.find("=hex") != std::string::npos) {
                line.pop_back();
                std::string more;
                if (!nextLine(more))
                    throw ParseError("continued line at the end of the file");
                line += trim(more);
            }
            RegValue v = parseValue(line);
            if (RegValue* old = current->find(v.Name))
                *old = std::move(v);
            else
                current->Values.push_back(std::move(v));
        }
    } catch (const ParseError& e) {
        throw ERegistryException(
            "Cannot parse registry hive " + file + ", line " + std::to_string(lineNo) + ": " + e.Why,
            EINVAL);
    }
    if (!sawHeader && !trim(text).empty())
        throw ERegistryException("Cannot parse registry hive " + file + ": REGEDIT4 header expected",
                                 EINVAL);
    return hive;
}

std::string hexList(const std::string& bytes)
{
    std::string out;
    char buf[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(bytes[i]));
        if (i)
            out += ',';
        out += buf;
    }
    return out;
}

std::string serializeHive(const Hive& hive, HKEY root)
{
    std::string out = "REGEDIT4\n";
    for (auto& [folded, key] : hive.Keys) {
        if (folded.empty() && key.Values.empty())
            continue;
        out += "\n[";
        out += rootName(root);
        if (!key.Path.empty())
            out += "\\" + key.Path;
        out += "]\n";
        for (auto& v : key.Values) {
            out += v.Name.empty() ? "@" : quote(v.Name);
            out += '=';
            if (v.Type == REG_SZ) {
                out += quote(v.Data);
            } else if (v.Type == REG_DWORD && v.Data.size() == 4) {
                uint32_t n = 0;
                for (int i = 3; i >= 0; --i)
                    n = (n << 8) | static_cast<unsigned char>(v.Data[static_cast<size_t>(i)]);
                char buf[16];
                std::snprintf(buf, sizeof buf, "dword:%08x", n);
                out += buf;
            } else if (v.Type == REG_BINARY) {
                out += "hex:" + hexList(v.Data);
            } else if (v.Type == REG_EXPAND_SZ) {
                out += "hex(2):" + hexList(utf8ToUtf16le(v.Data));
            } else {
                char buf[16];
                std::snprintf(buf, sizeof buf, "hex(%x):", v.Type);
                out += buf + hexList(v.Data);
            }
            out += '\n';
        }
    }
    return out;
}

// ---- hive files ----------------------------------------------------------

bool isAccessError(int err) { return err == EACCES || err == EPERM || err == EROFS; }

[[noreturn]] void throwWriteError(const std::string& file, int err, const std::string& detail)
{
    if (isAccessError(err))
        throw ERegistryException("Access denied: cannot write registry hive " + file + " (" +
                                     SysErrorMessage(err) + ")",
                                 err);
    throw ERegistryException(detail, err);
}

Hive seededHive(HKEY root)
{
    Hive hive;
    if (root == HKEY_CURRENT_USER)
        hive.create(kShellFolders).Values.push_back({"Personal", REG_SZ, DocumentsDir()});
    return hive;
}

// Reads and parses the hive file; nullptr when it does not exist. Nothing is
// cached: a replaced hive's freed inode can come back with the same size and
// a coarse time stamp, so only a fresh read is sure to see other writers.
std::shared_ptr<const Hive> readHiveFile(HKEY root, const std::string& file)
{
    std::string text;
    try {
        if (!detail::ReadWholeFile(file, text))
            return nullptr;
    } catch (const EOSError& e) {
        throw ERegistryException("Cannot read registry hive " + file + ": " +
                                     SysErrorMessage(e.ErrorCode),
                                 e.ErrorCode);
    }
    return std::make_shared<const Hive>(parseHive(text, file, root));
}

// Changes a hive under its lock: re-reads the file, lets change() edit it
// and, when change() reports a difference, renames a new file over it.
template <typename F>
auto modifyHive(HKEY root, F change)
{
    std::string file = HiveFilePath(root);
    std::string dir = file.substr(0, file.rfind('/'));
    if (!detail::MakeDirs(dir)) {
        int err = errno;
        throwWriteError(file, err, "Cannot create folder " + dir + ": " + SysErrorMessage(err));
    }
    std::unique_ptr<detail::TFileLock> lock;
    try {
        lock = std::make_unique<detail::TFileLock>(file + ".lock");
    } catch (const EOSError& e) {
        throwWriteError(file, e.ErrorCode, e.what());
    }
    std::shared_ptr<const Hive> current = readHiveFile(root, file);
    Hive hive = current ? *current : seededHive(root);
    bool changed = !current;
    auto result = change(hive, changed);
    if (changed) {
        if (current && ::access(file.c_str(), W_OK) != 0 && isAccessError(errno))
            throwWriteError(file, errno, "");
        try {
            detail::WriteFileAtomic(file, serializeHive(hive, root),
                                    root == HKEY_CURRENT_USER ? 0600 : 0644);
        } catch (const EOSError& e) {
            throwWriteError(file, e.ErrorCode, e.what());
        }
    }
    return result;
}

// The hive as it is now. A missing HKCU hive is created with its seed; when
// that is impossible the seed is answered from memory.
std::shared_ptr<const Hive> loadHive(HKEY root)
{
    std::string file = HiveFilePath(root);
    if (auto h = readHiveFile(root, file))
        return h;
    if (root == HKEY_CURRENT_USER) {
        try {
            modifyHive(root, [](Hive&, bool&) { return 0; });
            if (auto h = readHiveFile(root, file))
                return h;
        } catch (const ERegistryException&) {
        }
    }
    return std::make_shared<const Hive>(seededHive(root));
}

bool hasWriteAccess(uint32_t access) { return (access & 0x0006) != 0; }  // KEY_SET_VALUE | KEY_CREATE_SUB_KEY

// modifyHive for the calls that answer with a Boolean: a hive that cannot
// be written for want of rights gives false with the last error set; other
// failures throw.
template <typename F>
bool modifyOrRefuse(HKEY root, F change)
{
    try {
        return modifyHive(root, change);
    } catch (const ERegistryException& e) {
        if (isAccessError(e.ErrorCode)) {
            SetLastError(e.ErrorCode);
            return false;
        }
        throw;
    }
}

// Creates a key path unless it is there.
bool createKeyPath(HKEY root, const std::string& path)
{
    return modifyOrRefuse(root, [&](Hive& h, bool& changed) {
        if (!h.find(path)) {
            h.create(path);
            changed = true;
        }
        return true;
    });
}

[[noreturn]] void invalidType(const std::string& name)
{
    throw ERegistryException("Invalid data type for '" + name + "'", EINVAL);
}

}  // namespace

std::string HiveFilePath(HKEY root)
{
    if (root == HKEY_LOCAL_MACHINE)
        return SystemDir() + "/HKEY_LOCAL_MACHINE.reg";
    return UserDir() + "/HKEY_CURRENT_USER.reg";
}

TRegistry::TRegistry(uint32_t access) : Access(access) {}

TRegistry::~TRegistry() = default;

std::string TRegistry::resolve(const std::string& key) const
{
    if (!key.empty() && key[0] == '\\')
        return normalizePath(key);
    if (open_ && !currentPath_.empty())
        return normalizePath(currentPath_ + "\\" + key);
    return normalizePath(key);
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate)
{
    std::string path = resolve(Key);
    auto hive = loadHive(RootKey);
    if (!hive->find(path) && (!CanCreate || !hasWriteAccess(Access) || !createKeyPath(RootKey, path)))
        return false;
    currentPath_ = path;
    open_ = true;
    writable_ = hasWriteAccess(Access);
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& Key)
{
    std::string path = resolve(Key);
    auto hive = loadHive(RootKey);
    if (!hive->find(path))
        return false;
    currentPath_ = path;
    open_ = true;
    writable_ = false;
    return true;
}

bool TRegistry::CreateKey(const std::string& Key)
{
    return hasWriteAccess(Access) && createKeyPath(RootKey, resolve(Key));
}

void TRegistry::CloseKey()
{
    currentPath_.clear();
    open_ = false;
    writable_ = false;
}

bool TRegistry::KeyExists(const std::string& Key)
{
    auto hive = loadHive(RootKey);
    return hive->find(resolve(Key)) != nullptr;
}

namespace {

// The value of the current key as the hive holds it now; nullopt when the
// key or value is missing.
std::optional<RegValue> lookup(HKEY root, const std::string& keyPath, const std::string& name)
{
    auto hive = loadHive(root);
    const RegKey* key = hive->find(keyPath);
    if (!key)
        return std::nullopt;
    const RegValue* v = key->find(name);
    if (!v)
        return std::nullopt;
    return *v;
}

}  // namespace

bool TRegistry::ValueExists(const std::string& Name)
{
    return lookup(RootKey, currentPath_, Name).has_value();
}

bool TRegistry::DeleteKey(const std::string& Key)
{
    std::string path = resolve(Key);
    if (path.empty() || !hasWriteAccess(Access))
        return false;
    return modifyOrRefuse(RootKey, [&](Hive& h, bool& changed) {
        bool removed = h.remove(path);
        changed = changed || removed;
        return removed;
    });
}

bool TRegistry::DeleteValue(const std::string& Name)
{
    if (!open_ || !writable_)
        return false;
    return modifyOrRefuse(RootKey, [&](Hive& h, bool& changed) {
        RegKey* key = h.find(currentPath_);
        if (!key)
            return false;
        std::string f = detail::FoldCase(Name);
        for (auto it = key->Values.begin(); it != key->Values.end(); ++it) {
            if (detail::FoldCase(it->Name) == f) {
                key->Values.erase(it);
                changed = true;
                return true;
            }
        }
        return false;
    });
}

std::vector<std::string> TRegistry::GetValueNames()
{
    std::vector<std::string> names;
    auto hive = loadHive(RootKey);
    if (const RegKey* key = hive->find(currentPath_))
        for (auto& v : key->Values)
            names.push_back(v.Name);
    return names;
}

std::vector<std::string> TRegistry::GetKeyNames()
{
    auto hive = loadHive(RootKey);
    return hive->children(currentPath_);
}

TRegDataType TRegistry::GetDataType(const std::string& Name)
{
    auto v = lookup(RootKey, currentPath_, Name);
    if (!v)
        return TRegDataType::rdUnknown;
    switch (v->Type) {
    case REG_SZ: return TRegDataType::rdString;
    case REG_EXPAND_SZ: return TRegDataType::rdExpandString;
    case REG_DWORD: return TRegDataType::rdInteger;
    case REG_BINARY: return TRegDataType::rdBinary;
    default: return TRegDataType::rdUnknown;
    }
}

int TRegistry::GetDataSize(const std::string& Name)
{
    auto v = lookup(RootKey, currentPath_, Name);
    if (!v)
        return -1;
    if (v->Type == REG_SZ || v->Type == REG_EXPAND_SZ)
        return static_cast<int>((Utf8ToUtf16(v->Data).size() + 1) * 2);
    return static_cast<int>(v->Data.size());
}

std::string TRegistry::ReadString(const std::string& Name)
{
    auto v = lookup(RootKey, currentPath_, Name);
    if (!v)
        return "";
    if (v->Type != REG_SZ && v->Type != REG_EXPAND_SZ)
        invalidType(Name);
    return v->Data;
}

int32_t TRegistry::ReadInteger(const std::string& Name)
{
    auto v = lookup(RootKey, currentPath_, Name);
    if (!v || v->Type != REG_DWORD || v->Data.size() != 4)
        invalidType(Name);
    uint32_t n = 0;
    for (int i = 3; i >= 0; --i)
        n = (n << 8) | static_cast<unsigned char>(v->Data[static_cast<size_t>(i)]);
    return static_cast<int32_t>(n);
}

bool TRegistry::ReadBool(const std::string& Name) { return ReadInteger(Name) != 0; }

int TRegistry::ReadBinaryData(const std::string& Name, void* buffer, int bufSize)
{
    auto v = lookup(RootKey, currentPath_, Name);
    if (!v || v->Type != REG_BINARY)
        invalidType(Name);
    size_t n = std::min(v->Data.size(), static_cast<size_t>(std::max(bufSize, 0)));
    if (n)
        std::memcpy(buffer, v->Data.data(), n);
    return static_cast<int>(n);
}

void TRegistry::putValue(const std::string& Name, uint32_t type, const std::string& data)
{
    if (!open_)
        throw ERegistryException("Failed to set data for '" + Name + "': no key is open", EINVAL);
    if (!writable_)
        throw ERegistryException("Failed to set data for '" + Name + "': Access denied", EACCES);
    try {
        modifyHive(RootKey, [&](Hive& h, bool& changed) {
            // A key deleted meanwhile by another writer is made again.
            RegKey& key = h.create(currentPath_);
            RegValue* v = key.find(Name);
            if (v && v->Type == type && v->Data == data)
                return 0;
            if (v) {
                v->Type = type;
                v->Data = data;
            } else {
                key.Values.push_back({Name, type, data});
            }
            changed = true;
            return 0;
        });
    } catch (const ERegistryException& e) {
        throw ERegistryException("Failed to set data for '" + Name + "': " + e.what(), e.ErrorCode);
    }
}

void TRegistry::WriteString(const std::string& Name, const std::string& Value)
{
    putValue(Name, REG_SZ, Value);
}

void TRegistry::WriteExpandString(const std::string& Name, const std::string& Value)
{
    putValue(Name, REG_EXPAND_SZ, Value);
}

void TRegistry::WriteInteger(const std::string& Name, int32_t Value)
{
    auto n = static_cast<uint32_t>(Value);
    std::string data;
    for (int i = 0; i < 4; ++i)
        data += static_cast<char>((n >> (8 * i)) & 0xFF);
    putValue(Name, REG_DWORD, data);
}

void TRegistry::WriteBool(const std::string& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }

void TRegistry::WriteBinaryData(const std::string& Name, const void* buffer, int bufSize)
{
    std::string data;
    if (bufSize > 0)
        data.assign(static_cast<const char*>(buffer), static_cast<size_t>(bufSize));
    putValue(Name, REG_BINARY, data);
}

}  // namespace platform
