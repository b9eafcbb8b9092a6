#include "TrayUnit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QSystemTrayIcon>

#include "KVBStrings.h"
#include "KVStrings.h"
#include "VDHelpers.h"
#include "VDMainUnit.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"

QPointer<TTrayForm> TrayForm;

std::function<bool(platform::TShellExecuteInfo&)> ElevatedShellExecuteEx = platform::ShellExecuteEx;

namespace {

std::string toAnsi(const QString& s) { return platform::WideToAnsi(s.toStdU16String()); }

// The icon of the form: a disc over a drive.
QIcon trayIconImage()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal s = size;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2b, 0x57, 0x9a));
        p.drawRoundedRect(QRectF(s * 0.05, s * 0.62, s * 0.9, s * 0.3), s * 0.06, s * 0.06);
        p.setBrush(QColor(0xd8, 0xdc, 0xe3));
        p.setPen(QPen(QColor(0x40, 0x48, 0x55), qMax<qreal>(1.0, s / 24)));
        p.drawEllipse(QRectF(s * 0.18, s * 0.04, s * 0.64, s * 0.64));
        p.setBrush(QColor(0x40, 0x48, 0x55));
        p.drawEllipse(QPointF(s * 0.5, s * 0.36), s * 0.08, s * 0.08);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

}  // namespace

TTrayForm::TTrayForm(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("TrayForm"));
    resize(775, 425);
    setWindowState(Qt::WindowMinimized);
    QApplication::setQuitOnLastWindowClosed(false);

    PopupMenu1 = new QMenu(this);
    Wizard1 = PopupMenu1->addAction(QStringLiteral("Wizard"));
    Exit1 = PopupMenu1->addAction(QStringLiteral("Exit"));
    connect(Wizard1, &QAction::triggered, this, &TTrayForm::Wizard1Click);
    connect(Exit1, &QAction::triggered, this, &TTrayForm::Exit1Click);

    TrayIcon1 = new QSystemTrayIcon(trayIconImage(), this);
    TrayIcon1->setContextMenu(PopupMenu1);
    connect(TrayIcon1, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            TrayIcon1DblClick();
    });

    FormCreate();
    TrayIcon1->show();
}

void TTrayForm::FormCreate()
{
    TrayIcon1->setToolTip(QStringLiteral("Brindmoor ") + StripAmpersands(ResStr(SVirtualDrive)));
}

void TTrayForm::TrayIcon1DblClick()
{
    QPointer<TMainForm> form = MainForm;
    if (!form)
        return;
    if (form->isVisible()) {
        form->raise();
        form->activateWindow();
    } else {
        // A modal showing: wait here until the main window is hidden again.
        QEventLoop loop;
        struct HideWatcher : QObject {
            QEventLoop* loop;
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::Hide)
                    loop->quit();
                return false;
            }
        } watcher;
        watcher.loop = &loop;
        form->installEventFilter(&watcher);
        connect(form, &QObject::destroyed, &loop, &QEventLoop::quit);
        form->setWindowModality(Qt::ApplicationModal);
        form->show();
        if (form->isVisible())
            loop.exec();
        if (form) {
            form->removeEventFilter(&watcher);
            form->setWindowModality(Qt::NonModal);
        }
    }
    if (form && (form->windowState() & Qt::WindowMinimized))
        form->setWindowState(form->windowState() & ~Qt::WindowMinimized);
}

void TTrayForm::Wizard1Click()
{
    ShellExecuteElevated(0, QString::fromStdU16String(platform::AnsiToWide(platform::ExecutablePath())), QString(),
                         platform::SW_SHOWNORMAL);
}

void TTrayForm::Exit1Click() { close(); }

void TTrayForm::closeEvent(QCloseEvent* event)
{
    event->accept();
    TrayIcon1->hide();
    QCoreApplication::quit();
}

void ShellExecuteElevated(quintptr Wnd, const QString& FileName, const QString& Parameters, int ShowCmd)
{
    if (IsVistaOrLater()) {
        platform::TShellExecuteInfo info;
        info.Verb = "runas";
        info.File = toAnsi(FileName);
        info.Parameters = toAnsi(Parameters);
        info.Show = platform::SW_SHOWNORMAL;
        if (ElevatedShellExecuteEx)
            ElevatedShellExecuteEx(info);
    } else {
        platform::ShellExecute("open", toAnsi(FileName), toAnsi(Parameters), "", ShowCmd);
    }
}
