#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace platform {

// Instance handle of a module whose string table holds texts. The program
// is module 1 (HInstance).
using HINSTANCE = uintptr_t;
extern HINSTANCE HInstance;

// A resource-string record: the variable that holds the module's instance
// handle, and an identifier that is a string-table id (0..65535) or, above
// 65535, the address of a zero-terminated UTF-16 text that replaces the
// table entry (set by re-setting the record).
struct TResStringRec {
    const HINSTANCE* Module;
    uintptr_t Identifier;
};

// Registers the string table of a module (called from static start-up
// code of the module that owns the texts).
void RegisterStringTable(HINSTANCE module, const std::map<uint32_t, std::u16string>& table);
void RegisterString(HINSTANCE module, uint32_t id, const std::u16string& text);

// LoadStringW: copies the entry into a buffer of bufferChars UTF-16 units,
// cut to bufferChars - 1; a missing entry gives "" and 0.
int LoadStringW(HINSTANCE module, uint32_t id, char16_t* buffer, int bufferChars);

// The untranslated loader: the identifier's replacement text, else the
// string-table entry cut at 4095 units.
std::u16string DefaultLoadResString(const TResStringRec* rec);

// Every resource-string load goes through LoadResString, which calls the
// current loader. The language binding switches the loader once at
// start-up.
using TResStringLoader = std::u16string (*)(const TResStringRec* rec);
std::u16string LoadResString(const TResStringRec* rec);
void SetResStringLoader(TResStringLoader loader);
TResStringLoader GetResStringLoader();

// Re-sets a record: the record's identifier becomes the address of a copy
// of text that lives until the end of the process.
void ResetResString(TResStringRec* rec, const std::u16string& text);

}  // namespace platform
