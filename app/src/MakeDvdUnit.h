#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "Burnkit.h"
#include "TsbBurner.h"

// The device-list buffer of Burnkit_VPort_DeviceListQueryLocal: a 32-bit
// count, then VPORT_DEVICE_LIST_ENTRY records of 1032 bytes, in 16384 bytes.
// The pages never read past the buffer: at most MaxEntries entries.
class TVPortDeviceListBuffer {
public:
    static constexpr uint32_t Size = BURNKIT_VPORT_DEVICE_LIST_SIZE;
    static constexpr int32_t MaxEntries =
        int32_t((Size - sizeof(int32_t)) / sizeof(VPORT_DEVICE_LIST_ENTRY));  // 15

    void* Data() { return bytes_.data(); }
    // The count field as the driver wrote it.
    int32_t CountField() const;
    // A count clamped to the entries the buffer can hold (0 for a negative one).
    static int32_t Readable(int32_t count);
    // Entry i, counted from 1 (1 <= i <= MaxEntries).
    VPORT_DEVICE_LIST_ENTRY Entry(int32_t i) const;

private:
    alignas(8) std::array<unsigned char, Size> bytes_{};
};

// The open dialog of the add-drive page. Filter uses the "text|pattern"
// form ("ISO file|*.iso"); Execute shows the platform's file dialog unless
// ExecuteHook is set (tests answer the dialog through it).
class TOpenDialog {
public:
    QString Filter;
    int FilterIndex = 0;
    QString FileName;
    bool Execute(QWidget* parent);
    // Receives the dialog and returns whether the user confirmed (FileName set).
    static std::function<bool(TOpenDialog& Dialog)> ExecuteHook;
};

// The add-drive page: mounts an ISO image as a virtual DVD drive.
class TMakeDvdForm : public QWidget {
    Q_OBJECT
public:
    explicit TMakeDvdForm(QWidget* owner);
    ~TMakeDvdForm() override;

    QLabel* cxLabel1 = nullptr;
    QLineEdit* cxTextEdit1 = nullptr;   // the image path
    QPushButton* cxButton1 = nullptr;   // "...": browse
    QPushButton* cxButton2 = nullptr;   // Start
    QCheckBox* cxCheckBox1 = nullptr;   // create the drive again on restart
    TOpenDialog OpenDialog1;
    QPushButton* cxButton6 = nullptr;   // Close
    // Target id of the drive the last successful Start created; 0 before.
    int32_t FActionVPortDeviceTargetId = 0;
    // A fresh burner at every set-up; its VPortOptions carry the mount's
    // image path and persistence.
    std::unique_ptr<TsbBurner> Burner;

    // Set-up at every opening: true when the virtual-device driver answers.
    bool FormCreate();
    void cxButton1Click();
    // Start: makes room (keeps MaxVirtualDrives - 1 devices), adds the
    // drive, opens its root folder; with command-line arguments it reports
    // success and ends the program. A failed add shows an error box.
    void cxButton2Click();
    void cxButton6Click();

protected:
    void resizeEvent(QResizeEvent* e) override;
};

extern QPointer<TMakeDvdForm> MakeDvdForm;

// How tile 1 runs the program's driver installer mode; RunAndWait unless a
// test puts another runner in place.
extern std::function<uint32_t(const QString& FileName, const QString& Parameters, const QString& Directory,
                              bool Wait, const QString& Verb, int ShowCmd)>
    InstallerRunner;
