#include "HelpTopics.h"

#include <array>
#include <utility>

#include "KVBStrings.h"
#include "KVStrings.h"
#include "platform/CodePage.h"
#include "platform/Process.h"

const QString HelpWikiBaseAddress = QStringLiteral("https://help.korvanta.example/wiki/");

THelpPageOpener HelpPageOpener = [](const QString& address) {
    platform::ShellExecute("open", platform::WideToAnsi(address.toStdU16String()), "", "",
                           platform::SW_SHOWNORMAL);
};

namespace {

using Row = std::pair<const char*, const char*>;

// Culture name (lower case) -> help language code.
constexpr std::array<Row, 21> kCultureTable = {{
    {"da-dk", "DK"}, {"de-de", "G"},  {"fr-fr", "FR"}, {"fi-fi", "FI"}, {"hr-hr", "HR"},
    {"bg-bg", "BG"}, {"he-il", "HE"}, {"uk-ua", "UK"}, {"pl-pl", "PL"}, {"nl-nl", "DU"},
    {"it-it", "IT"}, {"cs-cz", "CZ"}, {"ru-ru", "RU"}, {"sk-sk", "SK"}, {"zh-tw", "TC"},
    {"zh-hk", "SC"}, {"pt-br", "BR"}, {"ko-kr", "KO"}, {"pt-pt", "PT"}, {"es-es", "ES"},
    {"be-by", "BY"},
}};

// Help page name -> topic path of the wiki (parts separated by ":"; empty
// for the help start page).
constexpr std::array<Row, 83> kTopicTable = {{
    {"details-rar.html", "main:details:extraction_formats"},
    {"about.html", "main:about"},
    {"add-credits.html", "main:additional:credits"},
    {"add-faq.html", "main:additional:faq"},
    {"add-installation.html", "main:additional:installation"},
    {"add-support.html", ""},
    {"add-systemreqs.html", "main:additional:system_requirements"},
    {"autobackup.html", "main:autobackup:autobackup"},
    {"autobackup-winscheduler.html", "main:autobackup:task_scheduler"},
    {"awards.html", "main:additional:awards"},
    {"burner.html", "main:korvanta_burner:welcome"},
    {"burner-burnfiles.html", "main:korvanta_burner:burn_files_to_disc"},
    {"burner-burniso.html", "main:korvanta_burner:burn_iso_image"},
    {"burner-copy.html", "main:korvanta_burner:copy_disc_to_image_iso"},
    {"burner-erase.html", "main:korvanta_burner:erase_disc"},
    {"burner-virtualdrive.html", "main:korvanta_burner:virtual_drive_iso"},
    {"configuration.html", "main:configuration:configuration_dialog_box"},
    {"details-7zip.html", "main:details:solid_compression"},
    {"details-assoc.html", "main:details:file_associations"},
    {"details-commline.html", "main:details:command_line"},
    {"details-dblclick.html", "main:details:double_click"},
    {"details-passmanager.html", "main:details:password_manager"},
    {"details-profiles.html", "main:details:profiles"},
    {"details-queue.html", "main:details:queue"},
    {"details-shortcuts.html", "main:details:keyboard_shortcuts"},
    {"details-starter.html", "main:details:starter"},
    {"details-viewer.html", "main:details:internal_viewer"},
    {"details-whatsnew.html", ""},
    {"main.html", "main"},
    {"dragdrop-adding.html", "main:drag_and_drop:adding_files"},
    {"dragdrop-dialogbox.html", "main:drag_and_drop:drop_dialog_box"},
    {"dragdrop-extracting.html", "main:drag_and_drop:extracting_files"},
    {"dragdrop-opening.html", "main:drag_and_drop:opening_archives"},
    {"explorershell.html", "main:shell_integration"},
    {"features.html", ""},
    {"ftp.html", "main:ftp:ftp_client"},
    {"introduction.html", "welcome"},
    {"menu-addfiles.html", "main:menu:add_files"},
    {"menu-autobackup.html", "main:menu:autobackup"},
    {"menu-batchzip.html", "main:menu:batch_archiving"},
    {"menu-checkout.html", "main:menu:check_out"},
    {"menu-comments.html", "main:menu:comments"},
    {"menu-convert.html", "main:menu:convert_archive"},
    {"menu-createiso.html", "main:menu:create_iso_image"},
    {"menu-deletefiles.html", "main:menu:delete_files"},
    {"menu-encrypt.html", "main:menu:encrypt"},
    {"menu-extractfiles.html", "main:menu:extract_files"},
    {"menu-favorite.html", "main:menu:favorites"},
    {"menu-find.html", "main:menu:find_files"},
    {"menu-findarchive.html", "main:menu:find_archives"},
    {"menu-ftp.html", "main:menu:ftp_upload"},
    {"menu-mailing.html", "main:menu:send_by_mail"},
    {"menu-makesfx.html", "main:menu:make_sfx"},
    {"menu-management.html", "main:menu:archive_management"},
    {"menu-mergemulti.html", "main:menu:merge_multi_volume"},
    {"menu-multiextract.html", "main:menu:multi_extract"},
    {"menu-new.html", "main:menu:new_archive"},
    {"menu-open.html", "main:menu:open_archive"},
    {"menu-printing.html", "main:menu:printing"},
    {"menu-properties.html", "main:menu:properties"},
    {"menu-repair.html", "main:menu:repair_archive"},
    {"menu-selecting.html", "main:menu:selecting_files"},
    {"menu-sfxwizard.html", "main:menu:sfx_wizard"},
    {"menu-skinning.html", "main:menu:skins"},
    {"menu-testfiles.html", "main:menu:test_files"},
    {"menu-tree.html", ""},
    {"menu-uuxxencode.html", "main:menu:uu_xx_encode"},
    {"menu-viewfiles.html", "main:menu:view_files"},
    {"menu-virusscan.html", "main:menu:virus_scan"},
    {"menu-writemulti.html", "main:menu:write_multi_volume"},
    {"preview.html", "main:preview"},
    {"sfx-advextract.html", "main:sfx:advanced_extraction"},
    {"sfx-overview.html", "main:sfx:overview"},
    {"sfx-runtime.html", "main:sfx:runtime"},
    {"tips-hints.html", ""},
    {"tutorial.html", ":tutorial"},
    {"tutorial-adding.html", "tutorial:adding_files"},
    {"tutorial-creating.html", "tutorial:creating_archives"},
    {"tutorial-extracting.html", "tutorial:extracting_files"},
    {"tutorial-mainwindow.html", "tutorial:main_window"},
    {"tutorial-opening.html", "tutorial:opening_archives"},
    {"tutorial-removing.html", "tutorial:removing_files"},
    {"tutorial-viewing.html", "tutorial:viewing_files"},
}};

// Lower-cases A-Z only, leaving every other character as it is.
QString lowerAsciiLetters(QString text)
{
    for (QChar& c : text)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return text;
}

}  // namespace

QString HelpTopicAddress(const QString& PageName)
{
    QString prefix = QStringLiteral("en:");
    QString code = HelpLanguage;
    if (code == u"-")
        code = HelpSetupLanguage;
    if (code == u"--")
        code = HelpSetupLanguage;
    LanguageCulture = lowerAsciiLetters(LanguageCulture);
    for (const auto& [culture, cultureCode] : kCultureTable)
        if (LanguageCulture == QLatin1String(culture)) {
            code = QLatin1String(cultureCode);
            break;
        }
    if (code == u"G")
        prefix = QStringLiteral("de:");

    const QString base = HelpWikiBaseAddress + prefix + QStringLiteral("help:");
    for (const auto& [page, topic] : kTopicTable)
        if (PageName == QLatin1String(page))
            return base + QLatin1String(topic);
    return base;
}

void OpenHelpPage(const QString& PageName)
{
    const QString address = HelpTopicAddress(PageName);
    if (HelpPageOpener)
        HelpPageOpener(address);
}
