#pragma once

#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QTreeWidget>
#include <QWidget>

#include <memory>
#include <vector>

#include "TsbBurner.h"
#include "sbTypes2.h"

// One listed virtual device.
class TsbSPDeviceItem {
public:
    TsbSPDeviceItem() = default;
    virtual ~TsbSPDeviceItem() = default;

    TsbVPortDeviceType& VPortDeviceType() { return FVPortDeviceType; }
    QString& TargetName() { return FTargetName; }
    QString& ShowTargetName() { return FShowTargetName; }

private:
    TsbVPortDeviceType FVPortDeviceType;
    QString FTargetName;       // the name of the device-list entry
    QString FShowTargetName;   // the name as shown in the list
};

// The listed virtual devices; owns its items.
class TsbSPDeviceList {
public:
    TsbSPDeviceList() = default;
    virtual ~TsbSPDeviceList() = default;
    TsbSPDeviceList(const TsbSPDeviceList&) = delete;
    TsbSPDeviceList& operator=(const TsbSPDeviceList&) = delete;

    // A new item appended at the end; the list owns it.
    TsbSPDeviceItem* Add();
    // The item at a 0-based index.
    TsbSPDeviceItem* GetItems(int Index) const { return FItems.at(size_t(Index)).get(); }
    TsbSPDeviceItem* Items(int Index) const { return GetItems(Index); }
    int Count() const { return int(FItems.size()); }
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TsbSPDeviceItem>> FItems;
};

// The remove-drive page: lists the virtual drives that have a drive letter
// and removes the selected one.
class TRemoveDvdForm : public QWidget {
    Q_OBJECT
public:
    explicit TRemoveDvdForm(QWidget* owner);
    ~TRemoveDvdForm() override;

    // Report view: ID, device name, device type, drive letter, drive label.
    QTreeWidget* lvSPDL = nullptr;
    QPushButton* cxButton1 = nullptr;  // Start
    QPushButton* cxButton6 = nullptr;  // Close
    std::unique_ptr<TsbBurner> Burner;

    // Set-up at every opening: a fresh burner and device list, the rows
    // refreshed (raises when the driver's list cannot be read), the row of
    // CmdRemoveDrive selected. True when the virtual-device driver answers.
    bool FormCreate();
    // Copies the selected row's device into Burner->VPortOptions.
    void PrepareVPortDeviceType();
    void lvSPDLChange();
    // Start: removes the selected device; then ends the program when it was
    // started with "/remove", else returns to the tile page.
    void cxButton1Click();
    void cxButton6Click();

    bool HasSelectedRow() const;
    const TsbSPDeviceList& DeviceList() const { return *FSPDeviceList; }

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    // Fills the list from the driver; raises platform::EOSError when the
    // device-list query fails.
    void RefreshDeviceList();

    std::unique_ptr<TsbSPDeviceList> FSPDeviceList;
};

extern QPointer<TRemoveDvdForm> RemoveDvdForm;
