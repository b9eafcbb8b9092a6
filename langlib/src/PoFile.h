#pragma once
// One language file: a gettext PO file read with libgettextpo.

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kvlang {

// Header fields a language file declares (names as in the PO header).
inline constexpr const char* kFieldAppId = "X-App-Id";
inline constexpr const char* kFieldLanguageId = "X-Language-Id";
inline constexpr const char* kFieldCulture = "X-Culture";
inline constexpr const char* kFieldLanguage = "Language";
inline constexpr const char* kFieldNativeName = "X-Native-Name";
inline constexpr const char* kFieldNativeSubName = "X-Native-Sub-Name";
inline constexpr const char* kFieldEnglishName = "X-English-Name";
inline constexpr const char* kFieldEnglishSubName = "X-English-Sub-Name";
inline constexpr const char* kFieldAuthor = "X-Author";
inline constexpr const char* kFieldComment = "X-Comment";

struct PoFile {
    std::string path;
    // Header fields by name (only the fields above), decoded to UTF-16.
    std::map<std::string, std::u16string> fields;
    // The application ids of X-App-Id, lower case.
    std::vector<std::u16string> appIds;
    // msgid -> msgstr of the translated entries.
    std::unordered_map<std::u16string, std::u16string> texts;

    std::u16string field(const char* name) const;
    // True when code (lower case) names this file's language.
    bool matchesLanguage(const std::u16string& lowerCode) const;
};

// Reads a language file. On failure returns nullopt and sets reason to a
// short text ("syntax error at line 4: ...", "no PO header", ...).
std::optional<PoFile> ReadPoFile(const std::string& path, std::string& reason);

}  // namespace kvlang
