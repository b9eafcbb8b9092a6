#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Registry hives kept as REGEDIT4 text files:
//   HKEY_CURRENT_USER  -> UserDir()   + "/HKEY_CURRENT_USER.reg"
//   HKEY_LOCAL_MACHINE -> SystemDir() + "/HKEY_LOCAL_MACHINE.reg"
// Key paths use backslashes ("Software\\KorvantaInt\\General"), a leading
// backslash is allowed; key and value names compare without case. Every
// write re-reads the hive under an exclusive file lock, changes it and
// renames a temporary file over it, so concurrent writers never lose each
// other's values. A hive that does not parse raises ERegistryException
// naming the file and line, and is never overwritten.
enum class HKEY { HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE };
using enum HKEY;

enum class TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// Access rights of a TRegistry object (KEY_READ, KEY_WRITE, KEY_ALL_ACCESS).
enum TRegAccess : uint32_t {
    KEY_READ = 0x20019,
    KEY_WRITE = 0x20006,
    KEY_ALL_ACCESS = 0xF003F,
    KEY_WOW64_32KEY = 0x0200,
};

// A new HKCU hive is seeded with
// "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"
// "Personal" = the XDG documents folder.
//
// The object follows the usual Windows registry class: a root key, one
// current key, typed reads and writes on the current key's values.
class TRegistry {
public:
    explicit TRegistry(uint32_t access = KEY_ALL_ACCESS);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey = HKEY_CURRENT_USER;
    uint32_t Access;

    // Opens Key (relative to the current key unless it starts with "\").
    // CanCreate creates missing keys (needs write access). False when the
    // key does not exist and may not be created, or on access denied.
    bool OpenKey(const std::string& Key, bool CanCreate);
    bool OpenKeyReadOnly(const std::string& Key);
    bool CreateKey(const std::string& Key);
    void CloseKey();
    // Path of the current key, "" when none is open.
    const std::string& CurrentPath() const { return currentPath_; }

    bool KeyExists(const std::string& Key);
    bool ValueExists(const std::string& Name);
    // Deletes a key and all below it; false when missing.
    bool DeleteKey(const std::string& Key);
    bool DeleteValue(const std::string& Name);
    std::vector<std::string> GetValueNames();
    std::vector<std::string> GetKeyNames();
    TRegDataType GetDataType(const std::string& Name);
    // Size in bytes (REG_SZ counts UTF-16 units with the terminator, x2);
    // -1 when the value is missing.
    int GetDataSize(const std::string& Name);

    // Missing value: "". REG_SZ and REG_EXPAND_SZ are read; other types
    // raise ERegistryException "Invalid data type for 'Name'".
    std::string ReadString(const std::string& Name);
    // REG_DWORD only; a missing value or another type raises
    // ERegistryException "Invalid data type for 'Name'".
    int32_t ReadInteger(const std::string& Name);
    bool ReadBool(const std::string& Name);
    // REG_BINARY only (another type raises); copies at most bufSize bytes and
    // returns the number copied; a missing value raises.
    int ReadBinaryData(const std::string& Name, void* buffer, int bufSize);

    // Writes raise ERegistryException when no key is open, on access denied
    // (read-only object, or a hive file the process may not write) or when
    // the hive cannot be written.
    void WriteString(const std::string& Name, const std::string& Value);
    void WriteExpandString(const std::string& Name, const std::string& Value);
    void WriteInteger(const std::string& Name, int32_t Value);
    void WriteBool(const std::string& Name, bool Value);
    void WriteBinaryData(const std::string& Name, const void* buffer, int bufSize);

private:
    std::string resolve(const std::string& Key) const;
    void putValue(const std::string& Name, uint32_t type, const std::string& data);

    std::string currentPath_;
    bool open_ = false;
    bool writable_ = false;
};

// File path of a hive.
std::string HiveFilePath(HKEY root);

}  // namespace platform
