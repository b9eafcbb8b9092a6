#pragma once

#include <QPointer>
#include <QProgressBar>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>

// The driver installer window. The main sequence creates it as the only
// window, sets install and runs the message loop. Its first activation runs
// "drvinst.exe" from the executable's folder (probe, then update or install;
// or remove), records "VDInstalled" in HKEY_LOCAL_MACHINE
// "Software\KorvantaInt\General" (1 after an install, 0 after a removal)
// and ends the program. It never waits for the user and shows no message.
class TVDInstallForm : public QWidget {
    Q_OBJECT
public:
    explicit TVDInstallForm(QWidget* parent = nullptr);

    QProgressBar* cxProgressBar1 = nullptr;  // marquee: moves without a position
    int32_t first = 0;    // 1 once the work has started
    int32_t install = 1;  // 1 install or update the driver, anything else remove it

    void FormCreate();
    void FormActivate();

    // The folder that holds "drvinst.exe" and "vportlite.inf", with its
    // trailing "/": the executable's folder unless set otherwise.
    QString ToolFolder;

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
};

extern QPointer<TVDInstallForm> VDInstallForm;

// The parameters handed to "drvinst.exe"; folder ends with "/".
QString DrvInstProbeParameters();
QString DrvInstUpdateParameters(const QString& folder);
QString DrvInstInstallParameters(const QString& folder);
QString DrvInstRemoveParameters();

// Records the driver state: HKEY_LOCAL_MACHINE "Software\KorvantaInt\General"
// "VDInstalled" (REG_DWORD). Failures are dropped.
void WriteVDInstalled(int32_t value);
