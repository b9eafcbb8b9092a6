#include "TSavedFormUnit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <stdexcept>

#include "platform/Registry.h"

namespace {

const char* const kKey = "Software\\KorvantaInt";

QSize primaryScreenSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(0, 0);
}

int32_t windowStateOf(const QWidget* w)
{
    const Qt::WindowStates s = w->windowState();
    if (s & Qt::WindowMinimized)
        return 1;
    if (s & Qt::WindowMaximized)
        return 2;
    return 0;
}

}  // namespace

std::function<QSize()> TSavedForm::ScreenSizeSource = primaryScreenSize;

TSavedForm::TSavedForm(QObject* AOwner) : QObject(AOwner)
{
    auto* form = qobject_cast<QWidget*>(AOwner);
    if (!form || !form->isWindow())
        throw std::runtime_error("TSavedForm: owner is not a TForm");
    FForm = form;
    startingmax = false;
    FSavedName = form->objectName();
    Fhandle = form;
    SavedArgs = AllSavedArgs;
    AutoLoad = true;
    formdefaultwidth = 840;
    formdefaultheight = 640;
    RefreshPrefix();
}

TSavedForm::~TSavedForm() = default;

void TSavedForm::SetSavedName(const QString& Value)
{
    FSavedName = Value;
    RefreshPrefix();
}

void TSavedForm::RefreshPrefix()
{
    const QSize s = ScreenSizeSource ? ScreenSizeSource() : primaryScreenSize();
    Fprefix = FSavedName + QString::number(s.width()) + QLatin1Char('x') + QString::number(s.height());
}

bool TSavedForm::OpenRegistry()
{
    try {
        reg = std::make_unique<platform::TRegistry>(platform::KEY_ALL_ACCESS);
        reg->RootKey = platform::HKEY_CURRENT_USER;
        // Never create the key: without it reads find nothing, writes fail.
        if (reg->KeyExists(kKey))
            reg->OpenKey(kKey, true);
        return true;
    } catch (...) {
        return false;
    }
}

void TSavedForm::LoadWithRequest(bool setmax)
{
    bool execute = true;
    if (OnLoadRequest)
        OnLoadRequest(this, execute);
    if (execute)
        IniLoad(setmax);
}

void TSavedForm::SaveWithRequest(bool custommode, const tcustomdata& data)
{
    bool execute = true;
    if (OnSaveRequest)
        OnSaveRequest(this, execute);
    if (execute)
        IniSave(custommode, data);
}

void TSavedForm::IniLoad(bool setmax)
{
    if (OnBeforeLoad)
        OnBeforeLoad(this);
    if (!reg)
        OpenRegistry();
    RefreshPrefix();
    IniLoadPos(setmax);
    if (OnAfterLoad)
        OnAfterLoad(this);
}

void TSavedForm::IniLoadPos(bool setmax)
{
    const QSize screen = ScreenSizeSource ? ScreenSizeSource() : primaryScreenSize();
    const int SW = screen.width(), SH = screen.height();
    const std::string p = Fprefix.toStdString();
    int W, H, L, T;
    try {
        if (!reg)
            throw std::runtime_error("no registry");
        auto readOr = [&](const char* name, int fallback) {
            return reg->ValueExists(p + name) ? reg->ReadInteger(p + name) : fallback;
        };
        W = readOr("Width", formdefaultwidth);
        H = readOr("Height", formdefaultheight);
        L = readOr("Left", SW / 2 - W / 2);
        T = readOr("Top", SH / 2 - H / 2);
    } catch (...) {
        W = formdefaultwidth;
        H = formdefaultheight;
        L = (SW - W) / 2;
        T = (SH - H) / 2;
    }
    place = TWindowPlacement();
    place.length = 44;
    place.left = L;
    place.top = T;
    place.right = L + W - 1;
    place.bottom = T + H - 1;
    if (setmax)
        FForm->setGeometry(place.left, place.top, place.right - place.left, place.bottom - place.top);
    else
        FForm->setGeometry(L, T, W, H);

    int S;
    try {
        S = reg && reg->ValueExists(p + "State") ? reg->ReadInteger(p + "State") : windowStateOf(FForm);
    } catch (...) {
        S = windowStateOf(FForm);
    }
    startingmax = S == 2;
    // A saved minimised state is never applied; other unknown values leave
    // the state as it is.
    if (setmax && S != 1) {
        if (S == 2)
            FForm->setWindowState((FForm->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        else if (S == 0)
            FForm->setWindowState(FForm->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    }
}

void TSavedForm::IniSave(bool custommode, const tcustomdata& data)
{
    if (OpenRegistry()) {
        RefreshPrefix();
        IniSavePos(custommode, data);
    }
}

void TSavedForm::IniSavePos(bool custommode, const tcustomdata& data)
{
    const std::string p = Fprefix.toStdString();
    if (custommode) {
        reg->WriteInteger(p + "Left", data.left);
        reg->WriteInteger(p + "Top", data.top);
        reg->WriteInteger(p + "Width", data.width);
        reg->WriteInteger(p + "Height", data.height);
        reg->WriteInteger(p + "State", data.state);
        return;
    }
    try {
        // The restored rectangle, also while the window is maximised or
        // minimised.
        const QWidget* w = Fhandle ? Fhandle : FForm;
        const QRect normal = (w->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) && w->normalGeometry().isValid()
            ? w->normalGeometry()
            : w->geometry();
        const int left = normal.x(), top = normal.y();
        const int right = normal.x() + normal.width(), bottom = normal.y() + normal.height();
        reg->WriteInteger(p + "Left", left);
        reg->WriteInteger(p + "Top", top);
        reg->WriteInteger(p + "Width", right - left + 1);
        reg->WriteInteger(p + "Height", bottom - top + 1);
        const int32_t state = windowStateOf(FForm);
        if (state != 1)
            reg->WriteInteger(p + "State", state);
    } catch (...) {
    }
}
