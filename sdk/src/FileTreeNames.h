#pragma once

// Internal: names inside a file tree.

#include <string>

namespace kvsdk {

// The ISO9660 form of a name as an ISO9660 tree keeps it: upper case, every
// character outside A-Z, 0-9 and "_" becomes "_", a version suffix (";1")
// is dropped. A file keeps its last dot and an extension of at most three
// characters; the base is cut to 8 characters (level 1) or so that base,
// dot and extension make at most 30 characters (level 2). A folder has no
// extension and at most 8 (level 1) or 31 (level 2) characters. A base that
// has to be cut keeps its trailing digits, so "ABCDEFGH3" becomes
// "ABCDEFG3": renamed names stay distinct. An empty result becomes "_".
std::string Iso9660Name(const std::string& name, bool isFolder, bool level2);

// A name of a Joliet tree as the tree keeps it: "/" and "\" become "_",
// the rest is kept. An empty result becomes "_".
std::string JolietName(const std::string& name);

// UTF-8 and UTF-16 without the locale; invalid sequences become U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace kvsdk
