#include "KVLanguages.h"

#include <QDir>

#include <platform/CodePage.h>

std::array<tkvlanguage, 101> LanguageTable;
int32_t LanguageCount = 0;
std::string LanguageBaseFolder;
IBrmLangFilePtr CurrentLanguageFile;

QString AnsiToWide(const std::string& s)
{
    if (s.empty())
        return {};
    return QString::fromStdU16String(platform::AnsiToWide(s));
}

void KVLanguages_Initialize(const std::string& exeDir)
{
    std::string base = exeDir;
    if (!QDir(QString::fromStdString(base + "lang/")).exists()) {
        std::string dir = base;
        if (!dir.empty() && dir.back() == '/')
            dir.pop_back();
        auto cut = dir.find_last_of('/');
        base = cut == std::string::npos ? std::string() : dir.substr(0, cut + 1);
    }
    LanguageBaseFolder = base;
    TBrmLangManager::add(QString::fromStdString(base + "lang/"), QStringLiteral("kvzip"), QStringLiteral("bmzip"));

    LanguageCount = 0;
    const int count = TBrmLangManager::getCount(QStringLiteral("bmzip"));
    for (int i = 0; i < count; ++i) {
        CurrentLanguageFile = TBrmLangManager::getLanguageFile(QStringLiteral("bmzip"), i);
        if (!CurrentLanguageFile || CurrentLanguageFile->getLanguageID().isEmpty())
            continue;
        if (LanguageCount + 1 >= int32_t(LanguageTable.size()))
            continue;
        const int n = ++LanguageCount;
        const QString nativeName = CurrentLanguageFile->getNativeName();
        const QString nativeSubName = CurrentLanguageFile->getNativeSubName();
        QString name;
        if (!nativeName.isEmpty() && !nativeSubName.isEmpty())
            name = nativeName + QStringLiteral(" (") + nativeSubName + QStringLiteral(")");
        else
            name = CurrentLanguageFile->getEnglishName() + QStringLiteral(" (") +
                   CurrentLanguageFile->getEnglishSubName() + QStringLiteral(")");
        LanguageTable[n] = {name, CurrentLanguageFile->getLanguageID()};
    }
}

void KVLanguages_Finalize()
{
    LanguageTable.fill({});
    LanguageCount = 0;
    CurrentLanguageFile.reset();
}
