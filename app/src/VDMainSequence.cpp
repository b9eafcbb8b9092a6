#include "VDMainSequence.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <cstdio>

#include "LanguageSetup.h"
#include "LanguageStartup.h"
#include "SharedStartup.h"
#include "TrayUnit.h"
#include "VDHelpers.h"
#include "VDInstallUnit.h"
#include "VDMainUnit.h"
#include "VDTexts.h"
#include "sbEngineUnits.h"

bool TrayMode = false;
platform::TNamedMutex InstanceMutex;

TStartMode ClassifyCommandLine(const QStringList& args)
{
    const int count = std::max<int>(0, args.size() - 1);
    if (count >= 1 && args[1] == QLatin1String("-installvd"))
        return TStartMode::smInstallDriver;
    if (count >= 1 && args[1] == QLatin1String("-uninstallvd"))
        return TStartMode::smUninstallDriver;
    if (count == 1 && args[1] == QLatin1String("-tray"))
        return TStartMode::smTray;
    return TStartMode::smNormal;
}

QFont DefaultFontFor(const QFont& iconTitleFont, qreal dotsPerInch)
{
    QFont font = iconTitleFont;
    if (dotsPerInch >= 250) {
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() + 1);
        else if (font.pixelSize() > 0)
            font.setPixelSize(font.pixelSize() + int(dotsPerInch / 72.0 + 0.5));
    }
    return font;
}

namespace {

void scheduleScreenshot(QWidget* window)
{
    const QByteArray path = qgetenv("KV_SCREENSHOT");
    if (path.isEmpty())
        return;
    QTimer::singleShot(500, window, [window, path] {
        const bool saved = window->grab().save(QString::fromLocal8Bit(path), "PNG");
        if (!saved)
            std::fprintf(stderr, "cannot save the screenshot to %s\n", path.constData());
        window->close();
        QCoreApplication::exit(saved ? 0 : 2);
    });
}

}  // namespace

int RunMainSequence(int argc, char** argv)
{
    // The argument vector as the process got it, before the UI platform takes
    // its own options out.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QApplication app(argc, argv);
    SetProgramArguments(args);

    // Module start-up, shut down in reverse order when this scope ends
    // (after the mutex has been released).
    struct TModules {
        TModules()
        {
            sbEngineInitialize();
            SuiteSharedStartup();
            InitializeLanguageSupport();
        }
        ~TModules()
        {
            FinalizeLanguageSupport();
            SuiteSharedShutdown();
            sbEngineFinalize();
        }
    } modules;

    const QScreen* screen = QGuiApplication::primaryScreen();
    QApplication::setFont(DefaultFontFor(QApplication::font(), screen ? screen->logicalDotsPerInch() : 96));

    QString languageCode;
    SetupLanguage(languageCode);

    const TStartMode mode = ClassifyCommandLine(args);
    if (mode == TStartMode::smInstallDriver || mode == TStartMode::smUninstallDriver) {
        ApplicationTitle = QStringLiteral("Brindmoor ZIP Virtual Drivers Installation");
        VDInstallForm = new TVDInstallForm;
        VDInstallForm->install = mode == TStartMode::smInstallDriver ? 1 : 0;
        VDInstallForm->show();
        const int rc = app.exec();
        delete VDInstallForm;
        return rc;
    }

    TrayMode = mode == TStartMode::smTray;
    if (TrayMode && !InstanceMutex.Create(kInstanceMutexName))
        return 0;  // another tray process runs (or no mutex): end quietly

    ApplicationTitle = QStringLiteral("Korvanta ") + StripAmpersands(VDText(TVDText::VirtualDrive));
    if (TrayMode)
        TrayForm = new TTrayForm;

    auto* mainForm = new TMainForm;
    mainForm->SavedForm1->SetSavedName(QStringLiteral("KVVDMain"));
    SkipPlacementSave = false;
    if (!SkipPlacementSave) {
        mainForm->SavedForm1->Fhandle = mainForm;
        mainForm->SavedForm1->LoadWithRequest(true);
    }

    // In tray mode the tray window is the main window and the main form
    // stays hidden until the tray icon shows it.
    if (!TrayMode) {
        mainForm->show();
        scheduleScreenshot(mainForm);
        QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    }
    const int rc = app.exec();
    InstanceMutex.Close();
    delete mainForm;
    delete TrayForm;
    return rc;
}
