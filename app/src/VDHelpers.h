#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>

class QPushButton;
class QWidget;

// Small routines the application's windows share.

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : unsigned { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };
using TMsgDlgButtons = unsigned;  // a set of TMsgDlgBtn
// Modal results of a message box.
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7;

// Shows a modal message box with the caption "Korvanta" centred on the main
// window and returns the modal result of the button pressed (mrNone when the
// box could not be shown).
int ShowCenteredMessage(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons);
// Where a dialog of dialogSize goes over the main window frame: centred,
// never at a negative position.
QPoint CenteredDialogPos(const QRect& mainWindow, const QSize& dialogSize);

// The user's documents folder: HKEY_CURRENT_USER "Shell Folders" "Personal";
// empty when the value is missing; when it is stored with another type, the
// platform's documents folder (created when missing).
QString GetMyDocumentsDir();

// Text without any "&" ("&&" disappears completely).
QString StripAmpersands(const QString& text);

// Gives a docked page the look the pages share: hidden until docked, its
// own background, Tahoma at 11 pixels, its designed size.
void SetUpPage(QWidget* page, int width, int height);
// The Start and Close buttons at the foot of a page: bold 11-point texts
// and the main window's Start and Close icons (once the main window exists).
void StyleStartAndClose(QPushButton* start, QPushButton* close);

// True from the system version 6 on.
bool IsVistaOrLater();

// Starts a program and, with Wait, returns its exit code. A failed start
// gives 0; a terminate request during the wait for a visible program gives
// 259 (still active). Without Wait the file is opened and 0 comes back at
// once. Verb "runas" starts elevated.
uint32_t RunAndWait(const QString& FileName, const QString& Parameters, const QString& Directory, bool Wait,
                    const QString& Verb, int ShowCmd);
constexpr uint32_t STILL_ACTIVE = 259;

// The application's terminate request: the message loop ends once the
// current handler returns, and waits in progress stop.
void TerminateApplication();
bool ApplicationTerminated();
// For a fresh start within one process (tests).
void ResetApplicationTerminated();

// Command-line arguments; argument 0 is the executable's path, ParamCount
// does not count it. They come from the process unless set here.
void SetProgramArguments(const QStringList& args);
int ParamCount();
QString ParamStr(int index);

// The application's title ("Korvanta Virtual Drive" once the main window exists).
extern QString ApplicationTitle;

// The executable's folder with a trailing "/".
QString ExeDir();
