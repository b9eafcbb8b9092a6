#include "LanguageSetup.h"

#include "KVStrings.h"
#include "TextFilter.h"
#include "brm_lang2.h"

#include <QFileInfo>
#include <initializer_list>
#include <vector>

#include <platform/IniFile.h>
#include <platform/Locale.h>
#include <platform/Registry.h>

QString VDLanguageCode;

namespace {

const char* const kGeneralKey = "Software\\KorvantaInt\\General";
const char* const kSuiteKey = "Software\\KorvantaInt";

struct LocaleRow {
    std::vector<const char*> ids;  // whole identifiers; empty: match on chars34
    const char* chars34;           // third and fourth characters, or nullptr
    const char* code;
    const char* culture;           // nullptr: culture unchanged
};

// Every row is tested in order; a later match overwrites an earlier one.
const LocaleRow kLocaleTable[] = {
    {{"0407", "0807", "0c07", "1007", "1407"}, nullptr, "G", "de-de"},
    {{"040c", "080c", "0c0c", "100c", "140c"}, nullptr, "FR", "fr-fr"},
    {{"041a"}, nullptr, "HR", "hr-hr"},
    {{"040b"}, nullptr, "FI", "fi-fi"},
    {{"0422"}, nullptr, "UK", "uk-ua"},
    {{"0415"}, nullptr, "PL", "pl-pl"},
    {{"0411"}, nullptr, "JP", nullptr},
    {{"0413", "0813"}, nullptr, "DU", "nl-nl"},
    {{}, "10", "I", "it-it"},
    {{"0406"}, nullptr, "DK", "da-dk"},
    {{"0405"}, nullptr, "CZ", "cs-cz"},
    {{"0421"}, nullptr, "IND", nullptr},
    {{"0419"}, nullptr, "RU", "ru-ru"},
    {{"041b"}, nullptr, "SK", "sk-sk"},
    {{"0404"}, nullptr, "TC", "zh-tw"},
    {{"0804", "0c04", "1004"}, nullptr, "SC", "zh-cn"},
    {{"0416"}, nullptr, "BR", "pt-br"},
    {{"0816"}, nullptr, "PT", "pt-pt"},
    {{"0402"}, nullptr, "BG", "bg-bg"},
    {{}, "0a", "ES", "es-es"},
    {{"040d"}, nullptr, "HE", "he-il"},
    {{"0423"}, nullptr, "BY", "be-by"},
    {{"2c0a"}, nullptr, "AR", "es-ar"},
    {{"040e"}, nullptr, "HU", "hu-hu"},
    {{"0408"}, nullptr, "GR", "el-gr"},
    {{"0414", "0814"}, nullptr, "NO", "nn-no"},
    {{"0c1a"}, nullptr, "YU", "sr-yu"},
    {{"041d", "081d"}, nullptr, "SV", "sv-se"},
    {{"041f"}, nullptr, "TR", "tr-tr"},
    {{"0412"}, nullptr, "KO", "ko-kr"},
};

bool rowMatches(const LocaleRow& row, const QString& id)
{
    if (row.chars34)
        return id.mid(2, 2) == QLatin1String(row.chars34);
    for (const char* candidate : row.ids)
        if (id == QLatin1String(candidate))
            return true;
    return false;
}

enum class RegRead { Missing, Read, Failed };

// Reads a string value into code; code is unchanged when the key or value is
// missing or cannot be read (another type, a hive that does not parse).
RegRead readRegistryCode(platform::HKEY root, const char* key, const char* value, QString& code)
{
    try {
        platform::TRegistry reg(platform::KEY_READ);
        reg.RootKey = root;
        if (!reg.KeyExists(key) || !reg.OpenKeyReadOnly(key) || !reg.ValueExists(value))
            return RegRead::Missing;
        code = QString::fromStdString(reg.ReadString(value));
        return RegRead::Read;
    } catch (const std::exception&) {
        return RegRead::Failed;
    }
}

}  // namespace

QString GetUserLocaleInfo(int lcType)
{
    if (lcType != LOCALE_ILANGUAGE)
        return {};
    return QString::fromStdString(platform::GetUserDefaultLanguageHex());
}

void MatchLocaleTable(const QString& id, QString& code, QString& culture)
{
    code.clear();
    for (const LocaleRow& row : kLocaleTable) {
        if (!rowMatches(row, id))
            continue;
        code = QLatin1String(row.code);
        if (row.culture)
            culture = QLatin1String(row.culture);
    }
}

void SetupLanguage(QString& code, const std::string& exeDir)
{
    QString c = QStringLiteral("-");
    readRegistryCode(platform::HKEY_CURRENT_USER, kGeneralKey, "Language", c);
    readRegistryCode(platform::HKEY_LOCAL_MACHINE, kGeneralKey, "Language", c);
    ProductVariant = QStringLiteral("Int");
    if (c == QLatin1String("--") &&
        readRegistryCode(platform::HKEY_LOCAL_MACHINE, kSuiteKey, "ReferSetupLanguage", c) == RegRead::Missing)
        c = QStringLiteral("-");
    LanguageCulture = c;
    if (c == QLatin1String("-")) {
        MatchLocaleTable(GetUserLocaleInfo(LOCALE_ILANGUAGE), c, LanguageCulture);
        DetectedLanguageCode = c;
    }
    LanguageCode = c;
    VDLanguageCode = c;

    const std::string updateIni = exeDir + "UPDATE.INI";
    UpdateLanguage.clear();
    if (QFileInfo::exists(QString::fromStdString(updateIni)))
        UpdateLanguage = QString::fromStdString(platform::GetPrivateProfileString("General", "KVLanguage", "", updateIni));

    if (!c.isEmpty()) {
        TBrmLangManager::add(QString::fromStdString(exeDir + "lang/"), QStringLiteral("kvvd"), QStringLiteral("bmvd"));
        setCurrentLanguage(LanguageCulture);
    }
    OnLocalString = FilterLocalString;
    code = c;
    ResetBurnerStrings();
    ResetButtonStrings(c, exeDir);
    code = c;
}
