#pragma once

#include <QString>

#include <functional>

// Help topics of the suite's online help wiki, in English or German.

// The help wiki's base address, ending in "/".
extern const QString HelpWikiBaseAddress;

// Opens an address with the system's default handler. Replaceable so that
// callers (tests) can see the address without starting a browser; the
// default runs the shell's "open" action and ignores its result.
using THelpPageOpener = std::function<void(const QString& address)>;
extern THelpPageOpener HelpPageOpener;

// The topic address of a help page name: base address, "en:" or "de:",
// "help:" and the topic path; the help start page (base, prefix, "help:")
// for a name that is no topic (names compare with case) or has no path.
// Stores LanguageCulture back lower-cased, as OpenHelpPage does.
QString HelpTopicAddress(const QString& PageName);

// Opens the topic address of PageName (see HelpTopicAddress). Reports no
// failure.
void OpenHelpPage(const QString& PageName);
