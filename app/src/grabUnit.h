#pragma once

// The disc-to-image page: copies the tracks of the disc in a CD/DVD drive
// into image files through the engine's grab action, on the UI thread.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "TsbBurner.h"
#include "sbClasses.h"
#include "sbDeviceList.h"

// The page's folder picker. Path is the folder chosen; Execute shows the
// platform's folder dialog unless ExecuteHook is set (tests answer through
// it) and returns whether a folder was confirmed.
class TBrowseForFolderDialog {
public:
    QString Path = QStringLiteral("-");
    bool Execute(QWidget* parent);
    static std::function<bool(TBrowseForFolderDialog& Dialog)> ExecuteHook;
};

// The page's save dialog. Filter has the "text|pattern" form; FilterIndex
// counts from 1. OnTypeChange runs whenever the dialog reports a change of
// the file type (FilterIndex holds the new index then). Execute shows the
// platform's save dialog unless ExecuteHook is set; on confirmation FileName
// holds the chosen path.
class TSaveDialog {
public:
    QString DefaultExt = QStringLiteral("iso");
    QString Filter = QStringLiteral("ISO images|*.iso");
    int FilterIndex = 1;
    QString InitialDir;
    QString Title;
    QString FileName;
    std::function<void()> OnTypeChange;
    bool Execute(QWidget* parent);
    static std::function<bool(TSaveDialog& Dialog)> ExecuteHook;
};

class TGrabForm : public QWidget {
    Q_OBJECT
public:
    // Designed client size at 96 dots per inch.
    static constexpr int DesignedWidth = 672;
    static constexpr int DesignedHeight = 554;

    explicit TGrabForm(QWidget* owner);
    ~TGrabForm() override;

    QLabel* cxLabel1 = nullptr;
    QLabel* cxLabel2 = nullptr;
    QLabel* cxLabel3 = nullptr;
    QLabel* cxLabel4 = nullptr;
    QComboBox* lvdevices2 = nullptr;   // drives that read; row r is GrabDeviceItems[r]
    QPushButton* cxButton1 = nullptr;  // Refresh
    QComboBox* ComboBox2 = nullptr;    // "All tracks", then the tracks
    QPushButton* cxButton2 = nullptr;  // never shown
    QLineEdit* edit5 = nullptr;        // destination folder
    QPushButton* cxButton3 = nullptr;  // folder picker
    QLineEdit* edit6 = nullptr;        // destination file name
    QPushButton* cxButton4 = nullptr;  // save dialog
    QPushButton* cxButton5 = nullptr;  // Start
    TBrowseForFolderDialog SelDirForm;
    TSaveDialog SaveDialog1;
    QProgressBar* cxProgressBar1 = nullptr;
    QPushButton* cxButton6 = nullptr;  // Close

    // Created by the first set-up, owned by the page and reused.
    TsbBurner* Burner() const { return FBurner.get(); }

    // Set-up at every opening: a new drive search and track list, captions,
    // base name "KVTrack", the documents folder and "KVTrack1.iso".
    void formcreate();

    // Refresh: searches the drives again and lists those that read.
    void cxButton1Click();
    // Drive chosen: reads the tracks of its disc.
    void lvdevices2PropertiesChange();
    void ComboBox2PropertiesChange() {}
    void cxButton3Click();
    void cxButton4Click();
    void SaveDialog1TypeChange();
    // Start: grabs the chosen track or all tracks into image files.
    void cxButton5Click();
    void cxButton6Click();

    void WriteProgressHandler(TObject* Sender, int32_t APercent);
    void BufferStatusHandler(TObject* Sender, int32_t ABufferStatusPercent);
    // The engine's action messages are not shown.
    void ActionEvent(TObject*, const std::string&, TsbLogItemType) {}

    // True while a drive search, a drive choice or a grab runs: the handlers
    // that would start a second one or touch the open drive are refused.
    bool Busy() const { return FBusy; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    class TBusyScope;
    void Refresh();
    void DriveChoice();
    void SetListEnabled(bool enabled);
    void SetBusy(bool busy);
    void EnsureObjects();
    void layoutControls();

    std::unique_ptr<TsbBurner> FBurner;
    bool FListEnabled = false;
    bool FBusy = false;
};

// Module globals of the page.
// The drive behind each row of lvdevices2 (row r is entry r); the items
// belong to GrabDeviceFinder's list and are valid until its next search.
extern std::array<TsbDeviceItem*, 100> GrabDeviceItems;
// The finder of the current opening (a new one per opening).
extern std::unique_ptr<TsbDeviceFinder> GrabDeviceFinder;
// Base name of the image files of an all-tracks grab (8-bit text).
extern std::string TrackBaseName;
extern QPointer<TGrabForm> GrabForm;
// The tracks of the chosen drive's disc (a new list per opening).
extern std::unique_ptr<TsbTrackList> DiscTracks;
// The filter index the save dialog last reported; 0 at start.
extern uint8_t SaveFilterIndex;
