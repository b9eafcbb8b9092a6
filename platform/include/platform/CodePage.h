#pragma once

#include <string>

namespace platform {

// The system code page: the locale's character set (UTF-8 in practice).
std::string SystemCharset();

// MultiByteToWideChar(CP_ACP): 8-bit system text to UTF-16. Bytes that do
// not convert become U+FFFD; never throws.
std::u16string AnsiToWide(const std::string& s);
// WideCharToMultiByte(CP_ACP): UTF-16 to 8-bit system text; characters that
// do not convert become "?".
std::string WideToAnsi(const std::u16string& s);

// UTF-8 <-> UTF-16 without the locale.
std::u16string Utf8ToUtf16(const std::string& s);
std::string Utf16ToUtf8(const std::u16string& s);

}  // namespace platform
