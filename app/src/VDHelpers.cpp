#include "VDHelpers.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include <optional>

#include "VDMainUnit.h"
#include "platform/Errors.h"
#include "platform/OSVersion.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/Registry.h"

namespace {

bool terminated = false;
std::optional<QStringList> programArgs;

QMessageBox::Icon iconFor(TMsgDlgType type)
{
    switch (type) {
    case mtWarning:
        return QMessageBox::Warning;
    case mtError:
        return QMessageBox::Critical;
    case mtInformation:
        return QMessageBox::Information;
    case mtConfirmation:
        return QMessageBox::Question;
    case mtCustom:
        break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QPoint CenteredDialogPos(const QRect& mainWindow, const QSize& dialogSize)
{
    // Integer division truncating towards zero, as the placement rule wants.
    int left = mainWindow.left() + mainWindow.width() / 2 - dialogSize.width() / 2;
    int top = mainWindow.top() + mainWindow.height() / 2 - dialogSize.height() / 2;
    return QPoint(std::max(left, 0), std::max(top, 0));
}

int ShowCenteredMessage(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    try {
        QMessageBox box(iconFor(type), QStringLiteral("Korvanta"), text, QMessageBox::NoButton, MainForm);
        struct TButtonRow {
            TMsgDlgBtn btn;
            QMessageBox::StandardButton std;
        };
        const TButtonRow rows[] = {{mbYes, QMessageBox::Yes}, {mbNo, QMessageBox::No},
                                   {mbOK, QMessageBox::Ok}, {mbCancel, QMessageBox::Cancel}};
        for (const auto& row : rows)
            if (buttons & row.btn)
                box.addButton(row.std);
        box.adjustSize();
        if (MainForm)
            box.move(CenteredDialogPos(MainForm->frameGeometry(), box.frameGeometry().size()));
        box.setWindowTitle(QStringLiteral("Korvanta"));
        switch (box.exec()) {
        case QMessageBox::Ok:
            return mrOk;
        case QMessageBox::Yes:
            return mrYes;
        case QMessageBox::No:
            return mrNo;
        case QMessageBox::Cancel:
            return mrCancel;
        default:
            return mrNone;
        }
    } catch (...) {
        return mrNone;
    }
}

QString GetMyDocumentsDir()
{
    try {
        platform::TRegistry reg(platform::KEY_READ);
        reg.RootKey = platform::HKEY_CURRENT_USER;
        reg.OpenKeyReadOnly("\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
        return QString::fromStdString(reg.ReadString("Personal"));
    } catch (...) {
        // A "Personal" of another type: the system's documents folder.
        const QString dir = QString::fromStdString(platform::DocumentsDir());
        QDir().mkdir(dir);
        return dir;
    }
}

QString StripAmpersands(const QString& text)
{
    QString result = text;
    result.remove(QLatin1Char('&'));
    return result;
}

void SetUpPage(QWidget* page, int width, int height)
{
    page->hide();
    page->setAutoFillBackground(true);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    page->setFont(font);
    page->resize(width, height);
}

void StyleStartAndClose(QPushButton* start, QPushButton* close)
{
    QFont font = start->font();
    font.setPointSize(11);
    font.setBold(true);
    start->setFont(font);
    close->setFont(font);
    if (MainForm) {
        start->setIcon(QIcon(MainForm->ImageList2.Pixmap(0)));
        close->setIcon(QIcon(MainForm->ImageList2.Pixmap(1)));
    }
}

bool IsVistaOrLater()
{
    try {
        return platform::GetVersionEx().majorVersion > 5;
    } catch (...) {
        return false;
    }
}

uint32_t RunAndWait(const QString& FileName, const QString& Parameters, const QString& Directory, bool Wait,
                    const QString& Verb, int ShowCmd)
{
    QString verb = Verb;
    if (verb == QLatin1String("runas") && !IsVistaOrLater())
        verb = QStringLiteral("open");
    if (!Wait) {
        platform::ShellExecute("open", FileName.toStdString(), "",
                               QFileInfo(FileName).path().toStdString(), platform::SW_SHOW);
        return 0;
    }
    platform::TShellExecuteInfo info;
    info.Verb = verb.toStdString();
    info.File = FileName.toStdString();
    info.Parameters = Parameters.toStdString();
    info.Directory = Directory.toStdString();
    info.Show = ShowCmd;
    info.NoCloseProcess = true;
    if (!platform::ShellExecuteEx(info) || info.hProcess < 0)
        return 0;
    uint32_t exitCode = 0;
    if (ShowCmd == platform::SW_HIDE) {
        platform::WaitForSingleObject(info.hProcess, platform::INFINITE);
    } else {
        // Keep the UI responsive while a visible program runs.
        while (platform::WaitForSingleObject(info.hProcess, 0) == platform::WAIT_TIMEOUT) {
            QElapsedTimer slice;
            slice.start();
            while (slice.elapsed() < 1000
                   && platform::WaitForSingleObject(info.hProcess, 0) == platform::WAIT_TIMEOUT) {
                QThread::msleep(20);
                QCoreApplication::processEvents();
                if (ApplicationTerminated())
                    break;
            }
            if (ApplicationTerminated()) {
                platform::CloseHandle(info.hProcess);
                return STILL_ACTIVE;
            }
        }
    }
    unsigned code = 0;
    if (platform::GetExitCodeProcess(info.hProcess, code))
        exitCode = code;
    platform::CloseHandle(info.hProcess);
    return exitCode;
}

void TerminateApplication()
{
    terminated = true;
    QCoreApplication::quit();
}

bool ApplicationTerminated() { return terminated; }
void ResetApplicationTerminated() { terminated = false; }

void SetProgramArguments(const QStringList& args) { programArgs = args; }

int ParamCount()
{
    const QStringList args = programArgs ? *programArgs : QCoreApplication::arguments();
    return std::max<int>(0, args.size() - 1);
}

QString ParamStr(int index)
{
    const QStringList args = programArgs ? *programArgs : QCoreApplication::arguments();
    return args.value(index);
}

QString ApplicationTitle;

QString ExeDir() { return QString::fromStdString(platform::ExecutableDir()); }
