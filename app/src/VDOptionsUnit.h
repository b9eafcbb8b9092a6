#pragma once

#include <QPointer>
#include <QString>

#include "BaseFrame.h"

class QCheckBox;
class QPushButton;

// The options page: one check box, whether the program starts in tray mode
// when the user logs on. Docked into the main window by
// TMainForm::cxButton3Click.
class TOptionsForm : public TBaseFrame {
    Q_OBJECT
public:
    explicit TOptionsForm(QWidget* owner);

    QCheckBox* cxCheckBox1;
    QPushButton* cxButton6;  // Close; hidden at every set-up

    // Set-up at every opening: the box shows whether the tray autostart is
    // set now (without applying anything), the captions are loaded.
    void FormCreate();
    // Back to the tile page.
    void cxButton6Click();
    // The user changed the box: switch the tray autostart accordingly.
    void cxCheckBox1PropertiesChange();

protected:
    void resizeEvent(QResizeEvent* event) override;
};

extern QPointer<TOptionsForm> OptionsForm;

// The tray autostart lives in HKEY_CURRENT_USER
// "Software\Microsoft\Windows\CurrentVersion\Run", value "BMVD Tray": the
// executable's path, unquoted, followed by " -tray". On this system a
// desktop autostart entry ($XDG_CONFIG_HOME/autostart/kvvd2021-tray.desktop,
// XDG_CONFIG_HOME defaulting to ~/.config) runs the same command; the
// registry value decides what the page shows.
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kTrayAutostartValue = "BMVD Tray";

// True when the "Run" value exists; false on any error.
bool IsTrayAutostartSet();
// On: writes the value (replacing older text) and the desktop entry, then
// starts the tray instance elevated without waiting. Off: deletes the value
// and the desktop entry. Reports no failure.
void SetTrayAutostart(bool On);

// The desktop autostart entry's file path.
QString TrayAutostartDesktopFile();
// The Exec= value that runs exePath with "-tray", quoted and escaped by the
// desktop entry rules.
QString DesktopExecLine(const QString& exePath);
