#include "grabUnit.h"

#include <QApplication>
#include <QFileDialog>
#include <QSignalBlocker>

#include <algorithm>

#include "KVBStrings.h"
#include "KVStrings.h"
#include "VDHelpers.h"
#include "VDMainUnit.h"
#include "platform/CodePage.h"
#include "sbActions.h"
#include "sbCallBackEventer.h"
#include "sbDriveProbe.h"
#include "sbTrackList.h"

std::array<TsbDeviceItem*, 100> GrabDeviceItems{};
std::unique_ptr<TsbDeviceFinder> GrabDeviceFinder;
std::string TrackBaseName;
QPointer<TGrabForm> GrabForm;
std::unique_ptr<TsbTrackList> DiscTracks;
uint8_t SaveFilterIndex = 0;

std::function<bool(TBrowseForFolderDialog&)> TBrowseForFolderDialog::ExecuteHook;
std::function<bool(TSaveDialog&)> TSaveDialog::ExecuteHook;

namespace {

std::string toAnsi(const QString& text) { return platform::WideToAnsi(text.toStdU16String()); }
QString fromAnsi(const std::string& text) { return QString::fromStdU16String(platform::AnsiToWide(text)); }

// The extension of the file-name part, with its dot; empty when none.
QString extractFileExt(const QString& path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > slash ? path.mid(dot) : QString();
}

// "text|pattern|text|pattern" as the platform dialog's "text (pattern)" list.
QStringList dialogFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    return filters;
}

bool readsDiscs(const TsbMediaFormats& f)
{
    return f.IsCDRRead || f.IsDVDROMRead || f.IsCDERead || f.IsDVDRRead || f.IsDVDRAMRead;
}

TsbDeviceItem* deviceOfRow(int row)
{
    return row >= 0 && row < int(GrabDeviceItems.size()) ? GrabDeviceItems[size_t(row)] : nullptr;
}

}  // namespace

bool TBrowseForFolderDialog::Execute(QWidget* parent)
{
    if (ExecuteHook)
        return ExecuteHook(*this);
    const QString start = Path == QStringLiteral("-") ? QString() : Path;
    const QString chosen = QFileDialog::getExistingDirectory(parent, QString(), start);
    if (chosen.isEmpty())
        return false;
    Path = chosen;
    return true;
}

bool TSaveDialog::Execute(QWidget* parent)
{
    if (ExecuteHook)
        return ExecuteHook(*this);
    QFileDialog dialog(parent, Title, InitialDir);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(DefaultExt);
    dialog.setSizeGripEnabled(true);
    const QStringList filters = dialogFilters(Filter);
    dialog.setNameFilters(filters);
    if (FilterIndex >= 1 && FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[FilterIndex - 1]);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [this, &filters](const QString& f) {
        FilterIndex = int(filters.indexOf(f)) + 1;
        if (OnTypeChange)
            OnTypeChange();
    });
    // The dialog reports the type it opens with, as the user's choice would.
    if (OnTypeChange)
        OnTypeChange();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    FileName = dialog.selectedFiles().first();
    return true;
}

// Marks the page busy for the life of one handler.
class TGrabForm::TBusyScope {
public:
    explicit TBusyScope(TGrabForm* form) : form_(form) { form_->SetBusy(true); }
    ~TBusyScope()
    {
        if (form_)
            form_->SetBusy(false);
    }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    QPointer<TGrabForm> form_;
};

TGrabForm::TGrabForm(QWidget* owner) : QWidget(owner)
{
    SetUpPage(this, DesignedWidth, DesignedHeight);

    cxLabel1 = new QLabel(this);
    cxLabel2 = new QLabel(this);
    cxLabel3 = new QLabel(this);
    cxLabel4 = new QLabel(this);
    lvdevices2 = new QComboBox(this);
    cxButton1 = new QPushButton(this);
    ComboBox2 = new QComboBox(this);
    cxButton2 = new QPushButton(this);
    cxButton2->hide();
    edit5 = new QLineEdit(this);
    cxButton3 = new QPushButton(QStringLiteral("..."), this);
    edit6 = new QLineEdit(this);
    cxButton4 = new QPushButton(QStringLiteral("..."), this);
    cxButton5 = new QPushButton(this);
    cxProgressBar1 = new QProgressBar(this);
    cxProgressBar1->setRange(0, 100);
    cxProgressBar1->setValue(0);
    cxProgressBar1->setTextVisible(false);
    cxButton6 = new QPushButton(this);
    for (QPushButton* b : {cxButton5, cxButton6})
        b->setIconSize(QSize(32, 32));

    cxLabel1->setBuddy(lvdevices2);
    cxLabel2->setBuddy(ComboBox2);
    cxLabel3->setBuddy(edit5);
    cxLabel4->setBuddy(edit6);

    const QWidget* order[] = {lvdevices2, cxButton1, ComboBox2, cxButton2, edit6, edit5,
                              cxButton4, cxButton5, cxButton3, cxProgressBar1, cxButton6};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));

    connect(cxButton1, &QPushButton::clicked, this, &TGrabForm::cxButton1Click);
    connect(lvdevices2, &QComboBox::currentIndexChanged, this, &TGrabForm::lvdevices2PropertiesChange);
    connect(ComboBox2, &QComboBox::currentIndexChanged, this, &TGrabForm::ComboBox2PropertiesChange);
    connect(cxButton3, &QPushButton::clicked, this, &TGrabForm::cxButton3Click);
    connect(cxButton4, &QPushButton::clicked, this, &TGrabForm::cxButton4Click);
    connect(cxButton5, &QPushButton::clicked, this, &TGrabForm::cxButton5Click);
    connect(cxButton6, &QPushButton::clicked, this, &TGrabForm::cxButton6Click);
    SaveDialog1.OnTypeChange = [self = QPointer<TGrabForm>(this)] {
        if (self)
            self->SaveDialog1TypeChange();
    };
    layoutControls();
}

TGrabForm::~TGrabForm()
{
    // The module's drive items and tracks live only as long as the page.
    GrabDeviceItems.fill(nullptr);
    DiscTracks.reset();
    GrabDeviceFinder.reset();
}

void TGrabForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void TGrabForm::layoutControls()
{
    // Designed places; the lists, edits and the bar stretch with the width,
    // the buttons beside them keep to the right edge, Start to the bottom
    // right and Close to the bottom left corner.
    const int dw = width() - DesignedWidth;
    const int dh = height() - DesignedHeight;
    const int wide = std::max(0, 386 + dw);
    cxLabel1->move(3, 35);
    cxLabel2->move(3, 62);
    cxLabel3->move(3, 115);
    cxLabel4->move(3, 144);
    lvdevices2->setGeometry(168, 32, wide, 21);
    cxButton1->setGeometry(570 + dw, 32, 75, 21);
    ComboBox2->setGeometry(168, 59, wide, 21);
    cxButton2->setGeometry(570 + dw, 59, 75, 21);
    edit5->setGeometry(168, 112, wide, 21);
    cxButton3->setGeometry(570 + dw, 112, 75, 21);
    edit6->setGeometry(168, 141, wide, 21);
    cxButton4->setGeometry(570 + dw, 141, 75, 21);
    cxProgressBar1->setGeometry(168, 184, wide, 57);
    cxButton5->setGeometry(516 + dw, 386 + dh, 121, 43);
    cxButton6->setGeometry(8, 386 + dh, 121, 43);
}

void TGrabForm::SetBusy(bool busy)
{
    FBusy = busy;
    lvdevices2->setEnabled(!busy && FListEnabled);
    cxButton1->setEnabled(!busy);
    cxButton5->setEnabled(!busy);
    if (MainForm && MainForm->dxtile)
        MainForm->dxtile->setEnabled(!busy);
}

void TGrabForm::SetListEnabled(bool enabled)
{
    FListEnabled = enabled;
    lvdevices2->setEnabled(enabled && !FBusy);
}

void TGrabForm::EnsureObjects()
{
    if (!GrabDeviceFinder)
        GrabDeviceFinder = std::make_unique<TsbDeviceFinder>();
    if (!DiscTracks)
        DiscTracks = std::make_unique<TsbTrackList>();
    if (!FBurner) {
        FBurner = std::make_unique<TsbBurner>();
        FBurner->TransportType() = ttSpti;
    }
}

void TGrabForm::formcreate()
{
    if (FBusy)
        return;
    TBusyScope busy(this);
    // The previous opening's finder and tracks go, with the rows that
    // pointed into its list.
    GrabDeviceItems.fill(nullptr);
    GrabDeviceFinder.reset();
    GrabDeviceFinder = std::make_unique<TsbDeviceFinder>();
    DiscTracks = std::make_unique<TsbTrackList>();
    if (!FBurner)
        FBurner = std::make_unique<TsbBurner>();
    FBurner->TransportType() = ttSpti;

    Refresh();
    cxProgressBar1->setValue(0);

    cxLabel1->setText(ResStr(SDrives));
    cxLabel2->setText(ResStr(SSelectTrack));
    cxLabel3->setText(ResStr(SDestinationFolder));
    cxLabel4->setText(ResStr(SDestinationFileName));
    for (QLabel* l : {cxLabel1, cxLabel2, cxLabel3, cxLabel4})
        l->adjustSize();
    cxButton6->setText(ResStr(SClose));
    TrackBaseName = "KVTrack";
    cxButton1->setText(ResStr(SRefresh));
    edit5->setText(GetMyDocumentsDir());
    edit6->setText(fromAnsi(TrackBaseName) + QStringLiteral("1.iso"));

    StyleStartAndClose(cxButton5, cxButton6);
    cxButton5->setText(ResStr(SStart));
}

void TGrabForm::cxButton1Click()
{
    if (FBusy)
        return;
    TBusyScope busy(this);
    Refresh();
}

void TGrabForm::Refresh()
{
    EnsureObjects();
    {
        const QSignalBlocker block(lvdevices2);
        lvdevices2->clear();
    }
    GrabDeviceItems.fill(nullptr);
    GrabDeviceFinder->FindDevices(false);

    const TsbDeviceList* list = GrabDeviceFinder->DeviceList();
    int rows = 0;
    {
        const QSignalBlocker block(lvdevices2);
        for (int i = 0; list && i < list->Count() && rows < int(GrabDeviceItems.size()); ++i) {
            TsbDeviceItem* item = list->GetItems(i);
            if (!readsDiscs(item->MediaFormats))
                continue;
            std::string discType;
            GetDiscTypeName(item->DiscType, discType);
            lvdevices2->addItem(fromAnsi("[" + item->DriveLetter + "] " + item->Product + ", " + discType));
            GrabDeviceItems[size_t(rows++)] = item;
        }
    }
    if (rows == 0) {
        SetListEnabled(false);
        lvdevices2->setPlaceholderText(ResStr(SNoBurnerOrMedia));
        return;
    }
    SetListEnabled(true);
    {
        const QSignalBlocker block(lvdevices2);
        lvdevices2->setCurrentIndex(0);
    }
    DriveChoice();
}

void TGrabForm::lvdevices2PropertiesChange()
{
    if (FBusy)
        return;
    TBusyScope busy(this);
    DriveChoice();
}

void TGrabForm::DriveChoice()
{
    if (!FListEnabled)
        return;
    EnsureObjects();
    if (const TsbDeviceItem* d = deviceOfRow(lvdevices2->currentIndex())) {
        FBurner->SCSIInfo() = d->SCSIInfo;
        FBurner->DiscSizeInfo() = d->DiscSizeInfo;
        FBurner->WriteModes() = d->WriteModes;
        FBurner->DeviceName() = d->DeviceName;
    }
    try {
        FBurner->PrepareGrabber();
    } catch (...) {
    }
    DiscTracks->Clear();
    try {
        FillTrackList(DiscTracks.get(), FBurner.get());
    } catch (...) {
    }
    {
        const QSignalBlocker block(ComboBox2);
        ComboBox2->clear();
        ComboBox2->addItem(ResStr(SAllTracks));
        for (int i = 0; i < DiscTracks->Count(); ++i)
            ComboBox2->addItem(fromAnsi(DiscTracks->GetItems(i)->StrInfo));
        ComboBox2->setCurrentIndex(0);
    }
    try {
        FBurner->ShutDownGrabber();
    } catch (...) {
    }
}

void TGrabForm::cxButton3Click()
{
    if (SelDirForm.Execute(this))
        edit5->setText(SelDirForm.Path);
}

void TGrabForm::cxButton4Click()
{
    SaveDialog1.InitialDir = edit5->text();
    SaveDialog1.Title = ResStr(SSelectImageFilename);
    if (!SaveDialog1.Execute(this))
        return;
    if (SaveFilterIndex == 1 && extractFileExt(SaveDialog1.FileName) != QStringLiteral(".iso"))
        SaveDialog1.FileName += QStringLiteral(".iso");
    const QString& path = SaveDialog1.FileName;
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = path.mid(slash + 1);
    edit5->setText(path.left(slash + 1));
    TrackBaseName = toAnsi(name.left(std::max<qsizetype>(0, name.size() - 4)));
    edit6->setText(name);
}

void TGrabForm::SaveDialog1TypeChange() { SaveFilterIndex = uint8_t(SaveDialog1.FilterIndex); }

void TGrabForm::cxButton5Click()
{
    if (FBusy)
        return;
    TBusyScope busy(this);
    EnsureObjects();
    bool failed = false;
    FBurner->TransportType() = ttSpti;
    try {
        FBurner->PrepareGrabber();
    } catch (...) {
        failed = true;
    }
    if (lvdevices2->count() == 0)
        return;
    const TsbDeviceItem* d = deviceOfRow(lvdevices2->currentIndex());
    if (!d)
        return;
    if (d->DiscType == DISC_TYPE_NO_MEDIA) {
        ShowCenteredMessage(ResStr(SNoMediaInserted), mtError, mbOK);
        return;
    }
    if (!d->DISC_INFORMATION.m__BOOLEAN__IsValid) {
        Refresh();
        if (lvdevices2->count() == 0)
            return;
        d = deviceOfRow(lvdevices2->currentIndex());
        if (!d || !d->DISC_INFORMATION.m__BOOLEAN__IsValid) {
            ShowCenteredMessage(ResStr(SMediaNotWriteable), mtError, mbOK);
            return;
        }
        // The refresh's drive choice closed the drive; the grab needs it
        // open, and the earlier opening was of the drive chosen before.
        failed = false;
        try {
            FBurner->PrepareGrabber();
        } catch (...) {
            failed = true;
        }
    }

    auto actions = std::make_unique<TsbActionList>();
    if (sbCallBackEventer) {
        const QPointer<TGrabForm> self(this);
        sbCallBackEventer->OnWriteProgress = [self](TObject* sender, int32_t percent) {
            if (self)
                self->WriteProgressHandler(sender, percent);
        };
        sbCallBackEventer->OnBufferStatus = [self](TObject* sender, int32_t percent) {
            if (self)
                self->BufferStatusHandler(sender, percent);
        };
    }
    actions->OnAction() = [this](TObject* sender, const std::string& message, TsbLogItemType kind) {
        ActionEvent(sender, message, kind);
    };
    actions->Clear();
    actions->Burner() = FBurner.get();

    auto grab = std::make_unique<TsbGrabAction>();
    grab->GrabTrackList()->Clear();
    QString folder = edit5->text();
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const std::string prefix = toAnsi(folder);
    const int row = ComboBox2->currentIndex();
    if (row > 0) {
        TsbGrabTrack* t = grab->GrabTrackList()->Add();
        t->TrackNumber = row;
        t->FileName = prefix + toAnsi(edit6->text());
    } else {
        for (int n = 1; n <= DiscTracks->Count(); ++n) {
            TsbGrabTrack* t = grab->GrabTrackList()->Add();
            t->TrackNumber = n;
            t->FileName = prefix + TrackBaseName + std::to_string(n) + ".iso";
        }
    }
    actions->Add()->Action() = grab.get();

    for (int i = 0; i < actions->Count(); ++i) {
        TsbActionItem* item = actions->GetItems(i);
        if (!item->Action())
            continue;
        try {
            item->Action()->RunAction(item);
        } catch (...) {
            failed = true;
        }
    }
    // The burner reports through the grab action, which goes now.
    FBurner->OnAction() = nullptr;
    cxProgressBar1->setValue(100);
    if (!failed)
        ShowCenteredMessage(ResStr(SImageGrabbingFinished), mtInformation, mbOK);
}

void TGrabForm::cxButton6Click()
{
    if (MainForm)
        MainForm->CloseTab();
}

void TGrabForm::WriteProgressHandler(TObject*, int32_t APercent)
{
    cxProgressBar1->setValue(std::clamp(APercent, 0, 100));
    QApplication::processEvents();
}

void TGrabForm::BufferStatusHandler(TObject*, int32_t) { QApplication::processEvents(); }

void TMainForm::MakeIsoButtActivateDetail()
{
    HelpPageName = QStringLiteral("burner-copy.html");
    if (!GrabForm)
        GrabForm = new TGrabForm(this);
    GrabForm->formcreate();
    showtab(GrabForm, 6, ResStr(SDVDToISO), ResStr(SDVDToISOHint), true);
}
