#include "TextFilter.h"

#include "KVBStrings.h"
#include "KVLanguages.h"
#include "KVStrings.h"

#include <QFileInfo>
#include <memory>

#include <platform/CodePage.h>

namespace {

// Replaces occurrences of from, each found from the start of the text again,
// until none is left. When to holds from, the search goes on after the
// inserted text instead, so the loop always ends.
template <typename S>
void replaceAll(S& s, const S& from, const S& to)
{
    const bool resume = to.find(from) != S::npos;
    auto pos = s.find(from);
    while (pos != S::npos) {
        s.replace(pos, from.size(), to);
        pos = s.find(from, resume ? pos + to.size() : 0);
    }
}

void replaceAll(QString& s, const QString& from, const QString& to)
{
    std::u16string t = s.toStdU16String();
    replaceAll(t, from.toStdU16String(), to.toStdU16String());
    s = QString::fromStdU16String(t);
}

void replaceAll(std::string& s, const char* from, const char* to)
{
    replaceAll(s, std::string(from), std::string(to));
}

std::string readEntry(std::FILE* file)
{
    std::string t;
    int c;
    while ((c = std::fgetc(file)) != EOF && c != 0)
        t += char(c);
    return t;
}

// unreadable: the language file exists but could not be opened, so every
// read fails and the loaded text stays as it is.
void resetFromText(platform::TResStringRec* rec, std::FILE* file, bool unreadable = false)
{
    const QString s = QString::fromStdU16String(platform::LoadResString(rec));
    QString t = s;
    if (!unreadable)
        ReadLanguageText(file, s, t);
    PatchResourceString(rec, t);
}

}  // namespace

void FilterLocalString(const QString&, const QString& sDefault, const QString& sFound, intptr_t,
                       QString& result)
{
    QString s = sFound.isEmpty() ? sDefault : sFound;
    for (const char* year : {"2009", "2007", "2006", "2011", "2013", "2012"})
        replaceAll(s, QString::fromLatin1(year), QStringLiteral("2015"));
    replaceAll(s, QStringLiteral("%APPNAME%"), AppName + QStringLiteral(" 2021"));
    result = s;
}

void ReadLanguageText(std::FILE* file, const QString& text, QString& result)
{
    result = text;
    std::string t = file ? readEntry(file) : platform::WideToAnsi(text.toStdU16String());
    replaceAll(t, "#13", "\r");
    replaceAll(t, "#10", "\n");
    replaceAll(t, "#39", "'");
    replaceAll(t, "2009", "2011");
    replaceAll(t, "2011", "2012");
    replaceAll(t, "2010", "2012");
    replaceAll(t, "2012", "2013");
    replaceAll(t, "2013", "2015");
    if (!t.empty())
        result = AnsiToWide(t);
}

bool PatchResourceString(platform::TResStringRec* rec, const QString& text)
{
    if (!rec)
        return false;
    platform::ResetResString(rec, text.toStdU16String());
    return true;
}

std::string ProgramLanguageFile(const std::string& exeDir, const QString& code)
{
    return exeDir + "Languages/KVMAIN_" + code.toStdString() + ".PLF";
}

void ResetBurnerStrings()
{
    for (platform::TResStringRec* rec : KVBStringsResetList)
        resetFromText(rec, nullptr);
}

void ResetButtonStrings(QString& code, const std::string& exeDir)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(nullptr, std::fclose);
    bool unreadable = false;
    if (!code.isEmpty()) {
        const std::string path = ProgramLanguageFile(exeDir, code);
        if (QFileInfo::exists(QString::fromStdString(path))) {
            file.reset(std::fopen(path.c_str(), "rb"));
            unreadable = !file;
        } else {
            code.clear();
        }
    }
    for (platform::TResStringRec* rec : KVStringsButtonList)
        resetFromText(rec, file.get(), unreadable);
}
