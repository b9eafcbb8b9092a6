#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QWidget;
namespace platform {
class TRegistry;
}

// Remembers where a window was: its normal (restored) rectangle and its
// state, per primary-screen size, in HKEY_CURRENT_USER "Software\KorvantaInt"
// under value names that begin with prefix = SavedName + "<width>x<height>":
//   prefix+"Left", prefix+"Top"       REG_DWORD, edges of the normal rectangle
//   prefix+"Width", prefix+"Height"   REG_DWORD, its width and height plus 1
//   prefix+"State"                    REG_DWORD, 0 normal, 2 maximised
// The key itself is never created here; without it a load gives the
// default size centred and a save writes nothing.

enum TSFSavedArg { saState, saPosition, saSize };
using TSFSavedArgs = unsigned;  // bit (1 << TSFSavedArg) per member
constexpr TSFSavedArgs AllSavedArgs = (1u << saState) | (1u << saPosition) | (1u << saSize);

class TSavedForm;
using TSFRequestProc = std::function<void(TSavedForm* Sender, bool& AExecute)>;
// The saved-placement events get the component itself (a QObject); the engine has
// its own TNotifyEvent over TObject, so this one carries a name of its own.
using TSavedFormNotifyEvent = std::function<void(QObject* Sender)>;

struct tcustomdata {
    int32_t width = 0;
    int32_t height = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t state = 0;
};

// The system's window placement: the normal rectangle with the exclusive
// right and bottom edges of a Windows RECT, and the show command.
struct TWindowPlacement {
    uint32_t length = 44;
    uint32_t flags = 0;
    uint32_t showCmd = 0;
    QPoint ptMinPosition;
    QPoint ptMaxPosition;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

class TSavedForm : public QObject {
public:
    // AOwner must be a window; otherwise construction fails with
    // std::runtime_error "TSavedForm: owner is not a TForm".
    explicit TSavedForm(QObject* AOwner);
    ~TSavedForm() override;

    // Size of the primary screen; tests replace it to act as another screen.
    static std::function<QSize()> ScreenSizeSource;

    const QString& SavedName() const { return FSavedName; }
    void SetSavedName(const QString& Value);
    const QString& Prefix() const { return Fprefix; }

    // Asks OnLoadRequest and, unless it vetoes, loads.
    void LoadWithRequest(bool setmax);
    // Asks OnSaveRequest and, unless it vetoes, saves.
    void SaveWithRequest(bool custommode, const tcustomdata& data);

    void IniLoad(bool setmax);
    void IniLoadPos(bool setmax);
    // custommode false never raises; custommode true raises a failing write.
    void IniSave(bool custommode, const tcustomdata& data);
    void IniSavePos(bool custommode, const tcustomdata& data);
    void RefreshPrefix();
    bool OpenRegistry();

    TSFSavedArgs SavedArgs = AllSavedArgs;  // stored only
    QString IniFile;                        // stored only
    bool AutoLoad = true;                   // stored only
    bool CenterForm = false;                // stored only
    TSFRequestProc OnSaveRequest;
    TSFRequestProc OnLoadRequest;
    TSavedFormNotifyEvent OnBeforeLoad;
    TSavedFormNotifyEvent OnAfterLoad;

    QWidget* Fhandle = nullptr;  // the window that is placed
    TWindowPlacement place;      // built by the last load
    tcustomdata emptydata;       // all zero
    bool startingmax = false;    // the last load found the state maximised
    int formdefaultwidth = 840;
    int formdefaultheight = 640;

private:
    std::unique_ptr<platform::TRegistry> reg;
    QWidget* FForm = nullptr;
    QString FSavedName;
    QString Fprefix;
};
