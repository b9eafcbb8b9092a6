#include "BrmLangTranslator.h"

#include "KVStrings.h"
#include "brm_lang2.h"

#include <QCoreApplication>
#include <QPointer>
#include <cstring>

namespace {

struct ButtonText {
    const char* source;
    const platform::TResStringRec* rec;
};

// Qt's standard-button texts and the resource strings that stand for them.
const ButtonText kButtonTexts[] = {
    {"OK", &SMsgDlgOK},         {"&Yes", &SMsgDlgYes},     {"&No", &SMsgDlgNo},
    {"Cancel", &SMsgDlgCancel}, {"&Cancel", &SMsgDlgCancel}, {"Help", &SMsgDlgHelp},
    {"&Help", &SMsgDlgHelp},
};

}  // namespace

QString TBrmLangTranslator::translate(const char* context, const char* sourceText, const char*, int) const
{
    if (!sourceText || !*sourceText)
        return {};
    const QString source = QString::fromUtf8(sourceText);
    QString text;
    if (context && std::strcmp(context, "QPlatformTheme") == 0) {
        for (const auto& b : kButtonTexts)
            if (std::strcmp(b.source, sourceText) == 0) {
                text = ResStr(*b.rec);
                break;
            }
    }
    if (text.isNull())
        text = TBrmLangManager::getLocalString(kResourceStringKeyPrefix + source, source);
    return text == source ? QString() : text;
}

void InstallBrmLangTranslator()
{
    static QPointer<TBrmLangTranslator> installed;
    auto* app = QCoreApplication::instance();
    if (!app || installed)
        return;
    installed = new TBrmLangTranslator(app);
    QCoreApplication::installTranslator(installed);
}
