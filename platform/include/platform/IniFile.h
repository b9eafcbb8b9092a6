#pragma once

#include <string>
#include <vector>

namespace platform {

// GetPrivateProfileString: sections and keys compared without case; the
// value is cut at 2047 characters; lines that are neither "[section]",
// "key=value" nor comments (";" or "#") are ignored. A missing file or
// key gives Default.
std::string GetPrivateProfileString(const std::string& Section, const std::string& Key,
                                    const std::string& Default, const std::string& FileName);

// Read-only ini file in the style of the UI platform's ini class, built on
// the same reader.
class TIniFile {
public:
    explicit TIniFile(const std::string& FileName);
    std::string ReadString(const std::string& Section, const std::string& Key,
                           const std::string& Default) const;
    // Decimal or "$"/"0x" hexadecimal; Default when missing or not a number.
    int ReadInteger(const std::string& Section, const std::string& Key, int Default) const;
    bool ReadBool(const std::string& Section, const std::string& Key, bool Default) const;
    bool SectionExists(const std::string& Section) const;
    // Keys of a section in file order.
    std::vector<std::string> ReadSection(const std::string& Section) const;
    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
};

}  // namespace platform
