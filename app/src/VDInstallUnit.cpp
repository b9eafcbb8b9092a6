#include "VDInstallUnit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "VDHelpers.h"
#include "platform/Process.h"
#include "platform/Registry.h"

QPointer<TVDInstallForm> VDInstallForm;

namespace {

const QString kHardwareId = QStringLiteral("ROOT\\VPortLite");
const QString kInfName = QStringLiteral("vportlite.inf");

QString quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

// Every run of the tool is hidden and waited for without a time limit.
uint32_t runTool(const QString& folder, const QString& parameters)
{
    return RunAndWait(folder + QStringLiteral("drvinst.exe"), parameters, folder, true, QStringLiteral("open"),
                      platform::SW_HIDE);
}

}  // namespace

QString DrvInstProbeParameters() { return QStringLiteral("-check ") + kHardwareId + QLatin1Char(' '); }

QString DrvInstUpdateParameters(const QString& folder)
{
    return QStringLiteral("-update ") + kHardwareId + QLatin1Char(' ') + quoted(folder + kInfName);
}

QString DrvInstInstallParameters(const QString& folder)
{
    return QStringLiteral("-install ") + kHardwareId + QLatin1Char(' ') + quoted(folder + kInfName);
}

QString DrvInstRemoveParameters()
{
    return QStringLiteral("-uninstall ") + kHardwareId + QLatin1Char(' ')
           + quoted(QStringLiteral("You have to reboot your machine to complete uninstallation"));
}

void WriteVDInstalled(int32_t value)
{
    try {
        platform::TRegistry reg(platform::KEY_WRITE | platform::KEY_WOW64_32KEY);
        reg.RootKey = platform::HKEY_LOCAL_MACHINE;
        if (reg.OpenKey("Software\\KorvantaInt\\General", true))
            reg.WriteInteger("VDInstalled", value);
        reg.CloseKey();
    } catch (...) {
    }
}

TVDInstallForm::TVDInstallForm(QWidget* parent) : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setFixedSize(564, 300);
    cxProgressBar1 = new QProgressBar(this);
    cxProgressBar1->setGeometry(56, 104, 457, 17);
    cxProgressBar1->setRange(0, 0);
    cxProgressBar1->setTextVisible(false);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    ToolFolder = ExeDir();
    FormCreate();
}

void TVDInstallForm::FormCreate()
{
    setWindowTitle(ApplicationTitle);
    first = 0;
}

void TVDInstallForm::FormActivate()
{
    if (first == 1)
        return;
    first = 1;
    if (install == 1) {
        const uint32_t probe = runTool(ToolFolder, DrvInstProbeParameters());
        runTool(ToolFolder, probe == 0 ? DrvInstUpdateParameters(ToolFolder) : DrvInstInstallParameters(ToolFolder));
        WriteVDInstalled(1);
    } else {
        runTool(ToolFolder, DrvInstRemoveParameters());
        WriteVDInstalled(0);
    }
    TerminateApplication();
}

bool TVDInstallForm::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(e);
}

void TVDInstallForm::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // Not every window system activates a new window; the work starts from
    // the running message loop all the same (the guard keeps it to once).
    QTimer::singleShot(0, this, &TVDInstallForm::FormActivate);
}
