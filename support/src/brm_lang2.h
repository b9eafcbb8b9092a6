#pragma once
// Binding to the language library (libkv_lang2) and the translating
// resource-string loader.
//
// Every library string is copied at once and released through the library
// exactly once (takeLibraryString); a language-file handle is owned by one
// TBrmLangFile and released when the last IBrmLangFile reference goes.

#include <QString>
#include <cstdint>
#include <memory>

#include <kv_lang2.h>
#include <platform/ResourceStrings.h>

// The text hook run on every translated load: key, default text, the text the
// library found (empty for none), OnLocalStringData, and the result to write.
using TLocalStringHook = void (*)(const QString& sId, const QString& sDefault, const QString& sFound,
                                  intptr_t data, QString& result);

// Null, or the hook whose result replaces the library's answer (even when it
// leaves the result empty).
extern TLocalStringHook OnLocalString;
extern intptr_t OnLocalStringData;

// Key prefix of a resource string's English text in the language files.
inline const QString kResourceStringKeyPrefix = QStringLiteral("pas.resourcestring.");

// One language file of the library.
class IBrmLangFile {
public:
    virtual ~IBrmLangFile() = default;
    virtual QString getAppID() = 0;
    virtual QString getAuthor() = 0;
    virtual QString getComment() = 0;
    virtual QString getLanguageID() = 0;
    virtual QString getNativeName() = 0;
    virtual QString getNativeSubName() = 0;
    virtual QString getEnglishName() = 0;
    virtual QString getEnglishSubName() = 0;
};
// A reference to a language file; empty when the library has none.
using IBrmLangFilePtr = std::shared_ptr<IBrmLangFile>;

class TBrmLangFile final : public IBrmLangFile {
public:
    // Takes ownership of a non-null handle.
    explicit TBrmLangFile(BRM_LANG2_FILE pFile);
    ~TBrmLangFile() override;
    TBrmLangFile(const TBrmLangFile&) = delete;
    TBrmLangFile& operator=(const TBrmLangFile&) = delete;

    QString getAppID() override;
    QString getAuthor() override;
    QString getComment() override;
    QString getLanguageID() override;
    QString getNativeName() override;
    QString getNativeSubName() override;
    QString getEnglishName() override;
    QString getEnglishSubName() override;

private:
    BRM_LANG2_FILE pHandle;
};

// Class-level operations on the library; never instantiated.
class TBrmLangManager {
public:
    TBrmLangManager() = delete;
    static bool add(const QString& folder, const QString& appId, const QString& appId2);
    static int getCount(const QString& sAppId);
    // Empty pointer when the library has no file at nIndex.
    static IBrmLangFilePtr getLanguageFile(const QString& sAppID, int nIndex);
    // The library's text for sId (or sDefault), passed through OnLocalString
    // when a hook is installed.
    static QString getLocalString(const QString& sId, const QString& sDefault);
};

// Copies a library string (null reads as empty) and releases it.
QString takeLibraryString(BRM_LANG2_CHAR* p);

void setCurrentLanguage(const QString& code);

// The translating loader: the record's source text (its replacement text
// when the identifier is above 65535, else the string-table entry cut to
// 4095 units, empty when missing) looked up under "pas.resourcestring." +
// source text with the source text as default. A null record gives "".
std::u16string loadResStringTranslated(const platform::TResStringRec* rec);

// Start-up of the binding: clears the hook and routes every resource-string
// load (platform::LoadResString) through loadResStringTranslated.
void brm_lang2_Initialize();
