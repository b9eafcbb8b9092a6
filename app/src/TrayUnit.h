#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

#include "platform/Process.h"

class QAction;
class QMenu;
class QSystemTrayIcon;

// The tray window: in tray mode it is the application's main window, is
// never shown, and lives as the notification-area icon with the hint
// "Brindmoor Virtual Drive" (translated) and the menu "Wizard" / "Exit".
// Creating it sets the application not to quit when its last window
// closes: in tray mode only closing this window ends the program.
class TTrayForm : public QWidget {
    Q_OBJECT
public:
    explicit TTrayForm(QWidget* parent = nullptr);

    QSystemTrayIcon* TrayIcon1;
    QMenu* PopupMenu1;
    QAction* Wizard1;
    QAction* Exit1;

    // Sets the icon's hint.
    void FormCreate();
    // Shows the main window: modally while it is hidden (returns when it is
    // hidden again), or brings it to the front; a minimised main window is
    // restored afterwards.
    void TrayIcon1DblClick();
    // Starts the program's own executable elevated, without arguments.
    void Wizard1Click();
    // Closes the tray window, which ends the message loop.
    void Exit1Click();

protected:
    void closeEvent(QCloseEvent* event) override;
};

// The one tray window, null outside tray mode.
extern QPointer<TTrayForm> TrayForm;

// Starts FileName with Parameters elevated (verb "runas", shown normally,
// no owner window) and returns once the system has taken the request;
// never waits for the program and reports nothing. Before Vista: the verb
// "open" with Wnd and ShowCmd.
void ShellExecuteElevated(quintptr Wnd, const QString& FileName, const QString& Parameters, int ShowCmd);

// The system's ShellExecuteEx as ShellExecuteElevated calls it; tests put
// a recorder here so that nothing is started.
extern std::function<bool(platform::TShellExecuteInfo&)> ElevatedShellExecuteEx;
