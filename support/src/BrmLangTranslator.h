#pragma once
// Translates Qt's own texts (message-box buttons and the like) through the
// language binding, so they follow the program's language.

#include <QTranslator>

class TBrmLangTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;
    // The standard-button texts of the platform theme come from the
    // message-box button resource strings (KVStrings); every other text is
    // looked up like a resource string with its source text. Empty when the
    // answer is the source text itself.
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};

// Installs one TBrmLangTranslator in the running QCoreApplication (does
// nothing without one, or when it is installed already).
void InstallBrmLangTranslator();
