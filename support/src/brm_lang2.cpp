#include "brm_lang2.h"

TLocalStringHook OnLocalString = nullptr;
intptr_t OnLocalStringData = 0;

namespace {

const char16_t* wide(const QString& s)
{
    return reinterpret_cast<const char16_t*>(s.utf16());  // never null, even when empty
}

constexpr int kStringTableBuffer = 4096;

}  // namespace

QString takeLibraryString(BRM_LANG2_CHAR* p)
{
    QString s = p ? QString::fromUtf16(p) : QString();
    BRM_LANG2_freeWideString(p);
    return s;
}

TBrmLangFile::TBrmLangFile(BRM_LANG2_FILE pFile) : pHandle(pFile) {}

TBrmLangFile::~TBrmLangFile()
{
    BRM_LANG2_freeBrmLangFile(pHandle);
}

QString TBrmLangFile::getAppID() { return takeLibraryString(BRM_LANG2_FILE_getAppID(pHandle)); }
QString TBrmLangFile::getAuthor() { return takeLibraryString(BRM_LANG2_FILE_getAuthor(pHandle)); }
QString TBrmLangFile::getComment() { return takeLibraryString(BRM_LANG2_FILE_getComment(pHandle)); }
QString TBrmLangFile::getLanguageID() { return takeLibraryString(BRM_LANG2_FILE_getLanguageID(pHandle)); }
QString TBrmLangFile::getNativeName() { return takeLibraryString(BRM_LANG2_FILE_getNativeName(pHandle)); }
QString TBrmLangFile::getNativeSubName() { return takeLibraryString(BRM_LANG2_FILE_getNativeSubName(pHandle)); }
QString TBrmLangFile::getEnglishName() { return takeLibraryString(BRM_LANG2_FILE_getEnglishName(pHandle)); }
QString TBrmLangFile::getEnglishSubName() { return takeLibraryString(BRM_LANG2_FILE_getEnglishSubName(pHandle)); }

bool TBrmLangManager::add(const QString& folder, const QString& appId, const QString& appId2)
{
    return BRM_LANG2_add(wide(folder), wide(appId), wide(appId2)) != 0;
}

int TBrmLangManager::getCount(const QString& sAppId)
{
    return BRM_LANG2_getLanguageCount(wide(sAppId));
}

IBrmLangFilePtr TBrmLangManager::getLanguageFile(const QString& sAppID, int nIndex)
{
    IBrmLangFilePtr result;
    if (BRM_LANG2_FILE handle = BRM_LANG2_getLanguageFile(wide(sAppID), nIndex))
        result = std::make_shared<TBrmLangFile>(handle);
    return result;
}

QString TBrmLangManager::getLocalString(const QString& sId, const QString& sDefault)
{
    const QString found = takeLibraryString(BRM_LANG2_getLocalString(wide(sId), wide(sDefault)));
    if (!OnLocalString)
        return found;
    QString result;
    OnLocalString(sId, sDefault, found, OnLocalStringData, result);
    return result;
}

void setCurrentLanguage(const QString& code)
{
    BRM_LANG2_setCurrentLanguage(wide(code));
}

std::u16string loadResStringTranslated(const platform::TResStringRec* rec)
{
    if (!rec)
        return {};
    QString source;
    if (rec->Identifier > 0xFFFF) {
        source = QString::fromUtf16(reinterpret_cast<const char16_t*>(rec->Identifier));
    } else if (rec->Module) {
        char16_t buffer[kStringTableBuffer];
        int n = platform::LoadStringW(*rec->Module, uint32_t(rec->Identifier), buffer, kStringTableBuffer);
        source = QString::fromUtf16(buffer, n > 0 ? n : 0);
    }
    return TBrmLangManager::getLocalString(kResourceStringKeyPrefix + source, source).toStdU16String();
}

void brm_lang2_Initialize()
{
    OnLocalString = nullptr;
    OnLocalStringData = 0;
    platform::SetResStringLoader(loadResStringTranslated);
}
