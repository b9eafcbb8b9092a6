#pragma once

// Small stateless helpers for the engine's 8-bit texts (system code page)
// and for temporary files.

#include <QString>
#include <cstdint>
#include <string>

// The part of Text after the first Separator when Key occurs in Text (the
// whole text when there is no separator); empty when Key does not occur.
std::string GetKeyValue(const std::string& Text, const std::string& Key, const std::string& Separator);
// Case-insensitive comparison of whole texts (upper-cased as UTF-16).
bool AnsiTextEquals(const std::string& A, const std::string& B);
// "Yes"/"No"; from the engine's string table when FromTable is set.
std::string BoolToYesNo(bool Value, bool FromTable);
// |Size| in KB, or in MB once it is above 1024 KB, both truncated.
std::string BytesToSizeText(bool NoSuffix, int64_t Size);
std::string LeftChars(const std::string& Text, int32_t Count);
// Replaces every non-overlapping occurrence, left to right.
std::string ReplaceAllText(const std::string& Text, const std::string& OldPart, const std::string& NewPart);
// The bytes of Buffer[0..LastIndex] up to the first zero byte.
std::string CharArrayToStr(const char* Buffer, int32_t LastIndex);
std::string CharArrayToStr(const unsigned char* Buffer, int32_t LastIndex);

// The temporary folder with its trailing separator.
QString GetSystemTempPath();
// Creates a new empty uniquely named file in the temporary folder and
// returns its path; empty when none can be made.
QString MakeTempFileName(const QString& Prefix);
// The file name of Path without its last extension.
QString FileNameWithoutExt(const QString& Path);
