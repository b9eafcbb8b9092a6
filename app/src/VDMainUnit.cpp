#include "VDMainUnit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>

#include "HelpTopics.h"
#include "KVBStrings.h"
#include "MakeDvdUnit.h"
#include "RemoveDvd.h"
#include "TempDirectory.h"
#include "TilePage.h"
#include "VDHelpers.h"
#include "VDOptionsUnit.h"
#include "VDSkins.h"
#include "VDTexts.h"
#include "grabUnit.h"
#include "burnkit.h"
#include "platform/Registry.h"

TMainForm* MainForm = nullptr;

QString CmdAddImage;
QString CmdRemoveDrive;
int CurrentTabIndex = -1;
int PreviousTabIndex = -1;
QString HelpPageName = QStringLiteral("burner-virtualdrive.html");
int FirstActivation = 0;
bool SkipPlacementSave = false;
uint8_t StayOnTop = 0;
int HighResIcons = 0;
QString SkinPath;
QString SkinIconsDir;
uint8_t SkinDisableAero = 0;
int32_t SkinFormColor = -1;

std::function<void(const QString&)> ApplicationShowException = [](const QString& message) {
    QMessageBox::critical(MainForm, QStringLiteral("Korvanta"), message);
};

namespace {

constexpr int kHeaderHeight = 89;
constexpr int kPageMargin = 10;
constexpr const char* kBurnkitStartupText = "Korvanta Virtual Drive";

}  // namespace

void ResetMainFormGlobals()
{
    CmdAddImage.clear();
    CmdRemoveDrive.clear();
    CurrentTabIndex = -1;
    PreviousTabIndex = -1;
    HelpPageName = QStringLiteral("burner-virtualdrive.html");
    FirstActivation = 0;
    SkipPlacementSave = false;
    SkinPath.clear();
    SkinIconsDir.clear();
    SkinDisableAero = 0;
    SkinFormColor = -1;
    TileTopColor.clear();
    TileCaptionColor.clear();
    TileSubCaptionColor.clear();
}

TActivationCommand ParseActivationCommand(const QStringList& args,
                                          const std::function<bool(const QString&)>& fileExists)
{
    TActivationCommand cmd;
    const int count = std::max<int>(0, args.size() - 1);
    const QString first = args.value(1);
    if (count >= 1) {
        cmd.CmdAddImage = first;
        if (first == QLatin1String("/add")) {
            cmd.CmdAddImage = count == 2 ? args.value(2) : QString();
        } else if (first == QLatin1String("/remove")) {
            cmd.CmdAddImage.clear();
            cmd.CmdRemoveDrive = count == 2 ? args.value(2) : QString();
            if (cmd.CmdRemoveDrive.size() == 2)
                cmd.CmdRemoveDrive += QLatin1Char('\\');
            if (cmd.CmdRemoveDrive.size() == 1)
                cmd.CmdRemoveDrive += QLatin1String(":\\");
        } else if (!fileExists(cmd.CmdAddImage)) {
            cmd.CmdAddImage.clear();
        }
    }
    cmd.RemoveRoad = !cmd.CmdRemoveDrive.isEmpty() || (count >= 1 && first == QLatin1String("/remove"));
    cmd.AddRoad = !cmd.CmdAddImage.isEmpty() || (count >= 1 && first == QLatin1String("/add"));
    return cmd;
}

TMainForm::TMainForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    MainForm = this;
    resize(843, 561);
    setMinimumSize(800, 600);
    setAutoFillBackground(true);

    SavedForm1 = new TSavedForm(this);
    SavedForm1->AutoLoad = false;
    SavedForm1->SavedArgs = AllSavedArgs;
    SavedForm1->SetSavedName(QStringLiteral("MainForm"));
    SavedForm1->CenterForm = false;

    auto headerButton = [this](int left, int imageIndex) {
        auto* b = new QToolButton(this);
        b->setGeometry(left, 5, 78, 73);
        b->setProperty("imageIndex", imageIndex);
        b->setAutoRaise(true);
        b->hide();
        return b;
    };
    cxButton4 = headerButton(597, 0);
    cxButton3 = headerButton(667, 1);
    cxButton2 = headerButton(753, 2);
    connect(cxButton3, &QToolButton::clicked, this, &TMainForm::cxButton3Click);
    connect(cxButton2, &QToolButton::clicked, this, &TMainForm::cxButton2Click);

    dxtile = new THtPanel(this);
    dxtile->setObjectName(QStringLiteral("dxtile"));
    dxtile->SetDefaultFont(QStringLiteral("Tahoma"), 14);
    dxtile->Images = &ImageList1;
    dxtile->Styles.Add(DesignedTileStyleSheet());
    dxtile->OnUrlClick = [this](const THtElement& el) { dxtileUrlClick(el); };

    Image1 = new QLabel(this);
    Image1->setAutoFillBackground(true);
    Image1->setBackgroundRole(QPalette::Button);
    Image1->hide();
    Label1 = new QLabel(this);
    Label1->move(180, 22);
    Label1->hide();
    Label2 = new QLabel(this);
    Label2->move(180, 55);
    Label2->hide();
    scImage1 = new QLabel(this);
    scImage1->setGeometry(104, 10, 57, 73);
    scImage1->setAlignment(Qt::AlignCenter);
    scImage1->hide();
    scButton1 = new QToolButton(this);
    scButton1->setGeometry(8, 10, 78, 73);
    scButton1->setAutoRaise(true);
    scButton1->hide();
    connect(scButton1, &QToolButton::clicked, this, &TMainForm::scButton1Click);

    // Key preview: the window sees key presses before the focused control.
    qApp->installEventFilter(this);

    FormCreate();
    layoutChildren();
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
    if (MainForm == this)
        MainForm = nullptr;
}

void TMainForm::FormCreate()
{
    setFont(QApplication::font());
    QFont bold = font();
    bold.setBold(true);
    if (bold.pointSizeF() > 0)
        bold.setPointSizeF(bold.pointSizeF() + 2);
    else
        bold.setPixelSize(bold.pixelSize() + 3);
    Label1->setFont(bold);

    cxButton2->setText(StripAmpersands(VDText(TVDText::Help)));
    cxButton3->setText(StripAmpersands(VDText(TVDText::Options)));
    cxButton4->setText(StripAmpersands(VDText(TVDText::Internet)));
    cxButton2->hide();
    cxButton3->hide();
    cxButton4->hide();

    // The SDK starts once, here; its result shows later in the pages' checks.
    Burnkit_UpStartEx(kBurnkitStartupText, 4);

    FirstActivation = 1;

    const QString caption = QStringLiteral("Korvanta ") + StripAmpersands(VDText(TVDText::VirtualDrive));
    setWindowTitle(caption);
    ApplicationTitle = caption;

    TempFolder = GetTempDirectory();
    Load_options();

    if (SkinPath == QLatin1String("Windows10 Dark"))
        SkinPath = ExeDir() + QStringLiteral("SKINS/Dark Outlet Media/Dark Outlet Media.vsf");
    if (SkinPath.isEmpty())
        SkinPath = ExeDir() + QStringLiteral("SKINS/Light Solitude/Light Solitude.vsf");
    try {
        SelectSkin(SkinPath);
    } catch (const std::exception& e) {
        // As a failing creation handler: the error box, then the window
        // without its tile page.
        ApplicationShowException(QString::fromStdString(e.what()));
        return;
    }

    dxtile->HtmlLines.BeginUpdate();
    dxtile->HtmlLines.Clear();
    for (const QString& line : BuildTilePageLines())
        dxtile->HtmlLines.Add(line);
    dxtile->HtmlLines.EndUpdate();

    if (StayOnTop == 1)
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

void TMainForm::Load_options()
{
    try {
        platform::TRegistry reg;
        reg.RootKey = platform::HKEY_CURRENT_USER;
        reg.OpenKey("Software\\KorvantaInt\\Files", true);
        LastAddFolder = reg.ValueExists("LastAddFolder") ? QString::fromStdString(reg.ReadString("LastAddFolder"))
                                                         : GetMyDocumentsDir();
        if (reg.ValueExists("Temp"))
            TempFolder = QString::fromStdString(reg.ReadString("Temp"));
        reg.CloseKey();
        reg.OpenKey("\\Software\\KorvantaInt\\General", true);
        if (reg.ValueExists("DSkin19"))
            SkinPath = QString::fromStdString(reg.ReadString("DSkin19"));
        LanguageSetting = reg.ValueExists("Language") ? QString::fromStdString(reg.ReadString("Language")) : QString();
        OperDir = reg.ValueExists("OperDir") ? QString::fromStdString(reg.ReadString("OperDir")) : QString();
    } catch (...) {
    }
    try {
        platform::TRegistry reg;
        reg.RootKey = platform::HKEY_LOCAL_MACHINE;
        reg.OpenKey("Software\\KorvantaInt\\General", true);
        if (reg.ValueExists("Language"))
            LanguageSetting = QString::fromStdString(reg.ReadString("Language"));
    } catch (...) {
    }
}

void TMainForm::Save_options() {}

void TMainForm::SelectSkin(const QString& Skin)
{
    TSkinTargets targets;
    targets.View = dxtile;
    targets.ImageList1 = &ImageList1;
    targets.ImageList1High = &ImageList1High;
    targets.ImageList2 = &ImageList2;
    targets.HighResIcons = HighResIcons != 0;
    ApplySkin(Skin, targets);
    scButton1->setIcon(QIcon(ImageList1.Pixmap(3)));
    scButton1->setIconSize(QSize(48, 48));
}

void TMainForm::FormActivate()
{
    if (FirstActivation == 0)
        return;
    FirstActivation = 0;
    cxButton4->hide();
    CmdRemoveDrive.clear();
    QStringList args;
    for (int i = 0; i <= ParamCount(); ++i)
        args << ParamStr(i);
    const TActivationCommand cmd =
        ParseActivationCommand(args, [](const QString& f) { return QFileInfo(f).isFile(); });
    CmdAddImage = cmd.CmdAddImage;
    CmdRemoveDrive = cmd.CmdRemoveDrive;
    try {
        if (cmd.RemoveRoad) {
            if (!RemoveDvdForm)
                RemoveDvdForm = new TRemoveDvdForm(this);
            if (!RemoveDvdForm->FormCreate())
                return;
            DockFromCommandLine(RemoveDvdForm);
            if (RemoveDvdForm->HasSelectedRow() && !CmdRemoveDrive.isEmpty())
                RemoveDvdForm->cxButton1Click();
        }
        if (cmd.AddRoad) {
            if (!MakeDvdForm)
                MakeDvdForm = new TMakeDvdForm(this);
            if (!MakeDvdForm->FormCreate())
                return;
            DockFromCommandLine(MakeDvdForm);
            MakeDvdForm->cxTextEdit1->setText(CmdAddImage);
            MakeDvdForm->show();
            if (!CmdAddImage.isEmpty())
                MakeDvdForm->cxButton2Click();
        }
    } catch (...) {
    }
}

void TMainForm::dxtileUrlClick(const THtElement& Sender)
{
    const QString id = Sender.GetAttribute(QStringLiteral("id"));
    struct TRoute {
        const char* id;
        void (TMainForm::*action)();
    };
    static const TRoute routes[] = {
        {"1", &TMainForm::AddDriveButtClick},   {"2", &TMainForm::RemoveDriveButtClick},
        {"3", &TMainForm::MakeIsoButtActivateDetail}, {"102", &TMainForm::cxButton2Click},
        {"100", &TMainForm::cxButton3Click},
    };
    for (const auto& r : routes)
        if (id == QLatin1String(r.id))
            (this->*r.action)();
}

void TMainForm::cxButton2Click() { OpenHelpPage(HelpPageName); }

void TMainForm::cxButton3Click()
{
    if (!OptionsForm)
        OptionsForm = new TOptionsForm(this);
    OptionsForm->FormCreate();
    showtab(OptionsForm, 1, VDText(TVDText::Configuration), QString(), true);
}

void TMainForm::scButton1Click() { CloseTab(); }

void TMainForm::FormKeyPress(QChar& Key)
{
    if (Key != QChar(27))
        return;
    if (CurrentTabIndex == -1)
        close();
    else
        CloseTab();
}

void TMainForm::FormCloseQuery(bool& CanClose) { CanClose = true; }

void TMainForm::FormClose()
{
    try {
        SavedForm1->SetSavedName(QStringLiteral("KVVDMain"));
        if (!SkipPlacementSave)
            SavedForm1->SaveWithRequest(false, SavedForm1->emptydata);
    } catch (...) {
    }
    Save_options();
}

void TMainForm::dxSkinController1SkinForm(QWidget* AForm, QString&, bool& UseSkin)
{
    UseSkin = SkinDisableAero == 1;
    if (!UseSkin && SkinFormColor != -1 && AForm) {
        // $00BBGGRR
        const QColor c(SkinFormColor & 0xFF, (SkinFormColor >> 8) & 0xFF, (SkinFormColor >> 16) & 0xFF);
        QPalette pal = AForm->palette();
        pal.setColor(QPalette::Window, c);
        AForm->setPalette(pal);
    }
}

void TMainForm::showtab(QWidget* myform, int imageindex, const QString& x, const QString& x2, bool show)
{
    seAnimation1.Capture(this, QRect(0, 0, width(), height()));
    dxtile->hide();
    PreviousTabIndex = CurrentTabIndex;
    CurrentTabIndex = imageindex;
    const bool header = !x.isEmpty();
    Image1->setVisible(header);
    Label1->setVisible(header);
    Label2->setVisible(header);
    scImage1->setVisible(header);
    scButton1->setVisible(header);
    if (header) {
        Label1->setText(x);
        Label1->adjustSize();
        Label2->setText(x2);
        Label2->adjustSize();
        const TImageList& list = HighResIcons != 0 ? ImageList1High : ImageList1;
        scImage1->setPixmap(list.Pixmap(imageindex));
        scButton1->setIcon(QIcon(list.Pixmap(3)));
    }
    dock(myform, kPageMargin);
    myform->setVisible(show);
    myform->raise();
    layoutChildren();
    seAnimation1.Run();
}

void TMainForm::CloseTab()
{
    seAnimation1.Capture(this, QRect(0, 0, width(), height()));
    CurrentTabIndex = -1;
    dxtile->show();
    Image1->hide();
    scImage1->hide();
    scButton1->hide();
    Label1->hide();
    Label2->hide();
    dxtile->raise();
    PreviousTabIndex = -1;
    layoutChildren();
    seAnimation1.Run();
}

void TMainForm::DockFromCommandLine(QWidget* page)
{
    dock(page, 0);
    page->show();
    page->raise();
    layoutChildren();
}

void TMainForm::dock(QWidget* page, int margin)
{
    if (page->parentWidget() != this)
        page->setParent(this);
    for (auto& d : docked_) {
        if (d.page == page) {
            d.margin = margin;
            return;
        }
    }
    docked_.append({page, margin});
}

void TMainForm::layoutChildren()
{
    const int top = Image1->isHidden() ? 0 : kHeaderHeight;
    Image1->setGeometry(0, 0, width(), kHeaderHeight);
    const int right = width() - 843;
    cxButton4->move(597 + right, 5);
    cxButton3->move(667 + right, 5);
    cxButton2->move(753 + right, 5);
    const QRect client(0, top, width(), height() - top);
    dxtile->setGeometry(client);
    for (const auto& d : docked_)
        if (d.page)
            d.page->setGeometry(client.adjusted(d.margin, d.margin, -d.margin, -d.margin));
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* w = qobject_cast<QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        if (w && w->window() == this && key->key() == Qt::Key_Escape) {
            QChar ch(27);
            FormKeyPress(ch);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TMainForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(event);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    bool canClose = true;
    FormCloseQuery(canClose);
    if (!canClose) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}
