#pragma once

#include <QPointer>
#include <QWidget>

// The tray window: the application's main window in tray mode, never shown
// itself. This build has no tray mode: once the message loop runs it says
// so on stderr and ends the program with exit code 1.
class TTrayForm : public QWidget {
    Q_OBJECT
public:
    explicit TTrayForm(QWidget* parent = nullptr);
};

extern QPointer<TTrayForm> TrayForm;
