#include "VDOptionsUnit.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QResizeEvent>
#include <QSaveFile>
#include <QSignalBlocker>

#include <cstdlib>

#include "KVBStrings.h"
#include "KVStrings.h"
#include "TrayUnit.h"
#include "VDMainUnit.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/Registry.h"

QPointer<TOptionsForm> OptionsForm;

namespace {

// Distance of the Close button's bottom edge from the page's bottom, as
// designed (407 - 60 - 59).
constexpr int kCloseButtonBottomGap = 288;

QString executablePath() { return QString::fromStdU16String(platform::AnsiToWide(platform::ExecutablePath())); }

std::string toAnsi(const QString& s) { return platform::WideToAnsi(s.toStdU16String()); }

void writeDesktopEntry(const QString& exePath)
{
    const QString path = TrayAutostartDesktopFile();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=%1\n"
                                        "Exec=%2\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(QLatin1String(kTrayAutostartValue), DesktopExecLine(exePath));
    file.write(text.toUtf8());
    file.commit();
}

}  // namespace

TOptionsForm::TOptionsForm(QWidget* owner) : TBaseFrame(owner)
{
    hide();
    cxCheckBox1 = new QCheckBox(this);
    cxCheckBox1->setGeometry(24, 24, 577, 17);
    cxButton6 = new QPushButton(this);
    cxButton6->setGeometry(24, 60, 138, 59);
    cxButton6->setDefault(true);
    QFont bold = cxButton6->font();
    bold.setBold(true);
    cxButton6->setFont(bold);

    connect(cxButton6, &QPushButton::clicked, this, &TOptionsForm::cxButton6Click);
    connect(cxCheckBox1, &QCheckBox::toggled, this, &TOptionsForm::cxCheckBox1PropertiesChange);
    Loaded();
}

void TOptionsForm::FormCreate()
{
    {
        // Showing the stored state is no change of the setting.
        const QSignalBlocker blocker(cxCheckBox1);
        cxCheckBox1->setChecked(IsTrayAutostartSet());
    }
    cxCheckBox1->setText(ResStr(SRunAsTrayOnStartup));
    cxButton6->setText(ResStr(SClose));
    cxButton6->hide();
}

void TOptionsForm::cxButton6Click()
{
    if (MainForm)
        MainForm->CloseTab();
}

void TOptionsForm::cxCheckBox1PropertiesChange() { SetTrayAutostart(cxCheckBox1->isChecked()); }

void TOptionsForm::resizeEvent(QResizeEvent* event)
{
    TBaseFrame::resizeEvent(event);
    // Anchored left and bottom.
    const int gap = kCloseButtonBottomGap * logicalDpiY() / 96;
    cxButton6->move(cxButton6->x(), height() - gap - cxButton6->height());
}

bool IsTrayAutostartSet()
{
    try {
        platform::TRegistry reg;
        reg.RootKey = platform::HKEY_CURRENT_USER;
        if (!reg.OpenKey(kRunKey, true))
            return false;
        return reg.ValueExists(kTrayAutostartValue);
    } catch (...) {
        return false;
    }
}

void SetTrayAutostart(bool On)
{
    try {
        platform::TRegistry reg;
        reg.RootKey = platform::HKEY_CURRENT_USER;
        if (!reg.OpenKey(kRunKey, true))
            return;
        if (!On) {
            if (reg.ValueExists(kTrayAutostartValue))
                reg.DeleteValue(kTrayAutostartValue);
            QFile::remove(TrayAutostartDesktopFile());
            return;
        }
        const QString exePath = executablePath();
        reg.WriteString(kTrayAutostartValue, toAnsi(exePath + QStringLiteral(" -tray")));
        writeDesktopEntry(exePath);
        const QWidget* window = MainForm ? static_cast<QWidget*>(MainForm) : nullptr;
        ShellExecuteElevated(window ? window->effectiveWinId() : 0, exePath, QStringLiteral("-tray"),
                             platform::SW_SHOWNORMAL);
    } catch (...) {
        // The setting is a convenience: a failure leaves things as they were.
    }
}

QString TrayAutostartDesktopFile()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart/kvvd2021-tray.desktop");
}

QString DesktopExecLine(const QString& exePath)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = false;
    for (QChar c : exePath)
        if (reserved.contains(c))
            quote = true;
    QString arg;
    for (QChar c : exePath) {
        if (quote && (c == u'"' || c == u'`' || c == u'$' || c == u'\\'))
            arg += u'\\';
        arg += c;
    }
    if (quote)
        arg = u'"' + arg + u'"';
    // Field codes start with "%"; a literal one is doubled. The string-value
    // escapes come last: backslashes doubled, control characters spelled out,
    // so that the value stays on its one line.
    arg.replace(u'%', QStringLiteral("%%"));
    arg.replace(u'\\', QStringLiteral("\\\\"));
    arg.replace(u'\n', QStringLiteral("\\n"));
    arg.replace(u'\t', QStringLiteral("\\t"));
    arg.replace(u'\r', QStringLiteral("\\r"));
    return arg + QStringLiteral(" -tray");
}
