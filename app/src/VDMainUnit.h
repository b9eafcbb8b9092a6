#pragma once

#include <QLabel>
#include <QList>
#include <QPointer>
#include <QString>
#include <QToolButton>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

#include "THtPanel.h"
#include "TImageList.h"
#include "TSavedFormUnit.h"
#include "seAnimation.h"

// The main window: a header band over the HTML tile page; task pages are
// docked into it as tabs (showtab / CloseTab) with a fade.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Components, in their designed order.
    TSavedForm* SavedForm1 = nullptr;
    QToolButton* cxButton4 = nullptr;  // Internet, always hidden
    QToolButton* cxButton3 = nullptr;  // Options, always hidden
    QToolButton* cxButton2 = nullptr;  // Help, always hidden
    TImageList ImageList1{48, 48};
    THtPanel* dxtile = nullptr;
    TseAnimation seAnimation1;
    QLabel* Image1 = nullptr;   // header band, height 89
    QLabel* Label1 = nullptr;   // page title
    QLabel* Label2 = nullptr;   // page subtitle
    QLabel* scImage1 = nullptr;  // page icon
    QToolButton* scButton1 = nullptr;  // back
    TImageList ImageList2{32, 32};
    TImageList ImageList1High{96, 96};

    // Docks myform in front of everything: imageindex is the page's icon and
    // becomes CurrentTabIndex, x the header title (empty hides the header),
    // x2 the subtitle.
    void showtab(QWidget* myform, int imageindex, const QString& x, const QString& x2, bool show);
    // Back to the tile page; docked pages stay behind it with their contents.
    void CloseTab();
    // Docks a page opened from the command line: whole client area, no
    // header, no fade.
    void DockFromCommandLine(QWidget* page);

    void SelectSkin(const QString& Skin);
    void Load_options();
    void Save_options();

    // Handlers.
    void FormCreate();
    void FormActivate();
    void dxtileUrlClick(const THtElement& Sender);
    void cxButton2Click();
    void cxButton3Click();
    void scButton1Click();
    void FormKeyPress(QChar& Key);
    void FormCloseQuery(bool& CanClose);
    void FormClose();
    void dxSkinController1SkinForm(QWidget* AForm, QString& ASkinName, bool& UseSkin);

    // Page openers of the tiles.
    void AddDriveButtClick();
    void RemoveDriveButtClick();
    void MakeIsoButtActivateDetail();

    // Settings read by Load_options that nothing else uses.
    QString LastAddFolder;
    QString TempFolder;
    QString OperDir;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void layoutChildren();
    struct TDocked {
        QPointer<QWidget> page;
        int margin;
    };
    QList<TDocked> docked_;
    void dock(QWidget* page, int margin);
};

// The main window (empty until created).
extern TMainForm* MainForm;

// Program-wide values of the main window's module.
extern QString CmdAddImage;
extern QString CmdRemoveDrive;
extern int CurrentTabIndex;
extern int PreviousTabIndex;
extern QString HelpPageName;
extern int FirstActivation;
extern bool SkipPlacementSave;
constexpr int MaxVirtualDrives = 6;
extern uint8_t StayOnTop;
extern int HighResIcons;
extern QString SkinPath;
extern QString SkinIconsDir;
extern uint8_t SkinDisableAero;
extern int32_t SkinFormColor;  // Windows colour $00BBGGRR, -1 for none

// The application's default error handler: shows an error box with the
// message. Replaceable (tests record the message instead).
extern std::function<void(const QString& message)> ApplicationShowException;

// What the first activation does with the command line.
struct TActivationCommand {
    QString CmdAddImage;
    QString CmdRemoveDrive;
    bool RemoveRoad = false;  // open the remove-drive page
    bool AddRoad = false;     // open the add-drive page
};
// args[0] is the executable; fileExists answers the file test for a first
// argument that is no keyword.
TActivationCommand ParseActivationCommand(const QStringList& args,
                                          const std::function<bool(const QString&)>& fileExists);
// Resets the program-wide values to their start values (a fresh main window
// in the same process).
void ResetMainFormGlobals();
