#pragma once
// UTF-8 / UTF-16 helpers of the language library, and decoding of a PO
// file's text from its declared charset.

#include <optional>
#include <string>

namespace kvlang {

std::u16string FromCString(const char16_t* s);  // null reads as ""
std::string Utf16ToUtf8(const std::u16string& s);
std::u16string Utf8ToUtf16(const std::string& s);
// ASCII letters folded to lower case; other units unchanged.
std::u16string AsciiLower(std::u16string s);
std::string AsciiLower(std::string s);

bool CharsetKnown(const std::string& charset);
// Decodes bytes in charset to UTF-16; nullopt when the charset is unknown
// or the bytes are not valid in it.
std::optional<std::u16string> Decode(const std::string& bytes, const std::string& charset);

}  // namespace kvlang
