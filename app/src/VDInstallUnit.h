#pragma once

#include <QPointer>
#include <QWidget>

// The driver installer window. The main sequence creates it as the only
// window, sets install and runs the message loop; the window ends the
// program itself. This build has no installer: on show it says so on
// stderr and ends the program with exit code 1.
class TVDInstallForm : public QWidget {
    Q_OBJECT
public:
    explicit TVDInstallForm(QWidget* parent = nullptr);
    int install = 1;  // 1 install the driver, 0 remove it

protected:
    void showEvent(QShowEvent* event) override;
};

extern QPointer<TVDInstallForm> VDInstallForm;
