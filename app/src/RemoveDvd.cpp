#include "RemoveDvd.h"

#include <QHeaderView>

#include "KVBStrings.h"
#include "KVStrings.h"
#include "MakeDvdUnit.h"
#include "VDHelpers.h"
#include "VDMainUnit.h"
#include "VDTexts.h"
#include "platform/CodePage.h"
#include "platform/DosDevices.h"
#include "platform/Errors.h"
#include "sbUtils.h"
#include "sbVPort.h"

QPointer<TRemoveDvdForm> RemoveDvdForm;

namespace {

// Lower-cases A to Z only.
QString lowerAscii(const QString& text)
{
    QString result = text;
    for (QChar& c : result)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return result;
}

QString fromAnsi(const std::string& text) { return QString::fromStdU16String(platform::AnsiToWide(text)); }
std::string toAnsi(const QString& text) { return platform::WideToAnsi(text.toStdU16String()); }

}  // namespace

TsbSPDeviceItem* TsbSPDeviceList::Add()
{
    FItems.push_back(std::make_unique<TsbSPDeviceItem>());
    return FItems.back().get();
}

TRemoveDvdForm::TRemoveDvdForm(QWidget* owner) : QWidget(owner), FSPDeviceList(std::make_unique<TsbSPDeviceList>())
{
    SetUpPage(this, 626, 397);

    lvSPDL = new QTreeWidget(this);
    lvSPDL->setColumnCount(5);
    lvSPDL->setRootIsDecorated(false);
    lvSPDL->setItemsExpandable(false);
    lvSPDL->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvSPDL->setSelectionMode(QAbstractItemView::SingleSelection);
    lvSPDL->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvSPDL->header()->setSectionsClickable(false);
    lvSPDL->header()->setStretchLastSection(false);
    const int widths[] = {60, 140, 70, 75, 105};
    for (int i = 0; i < 5; ++i)
        lvSPDL->setColumnWidth(i, widths[i]);

    cxButton1 = new QPushButton(this);
    cxButton6 = new QPushButton(this);
    for (QPushButton* b : {cxButton1, cxButton6}) {
        b->setIconSize(QSize(32, 32));
        b->setFixedSize(121, 43);
    }
    cxButton1->setEnabled(false);
    connect(lvSPDL, &QTreeWidget::itemSelectionChanged, this, &TRemoveDvdForm::lvSPDLChange);
    connect(cxButton1, &QPushButton::clicked, this, &TRemoveDvdForm::cxButton1Click);
    connect(cxButton6, &QPushButton::clicked, this, &TRemoveDvdForm::cxButton6Click);
}

TRemoveDvdForm::~TRemoveDvdForm() = default;

void TRemoveDvdForm::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    const int w = width(), h = height();
    const int buttonsTop = h - cxButton1->height();
    lvSPDL->setGeometry(0, 0, w, std::max(0, buttonsTop - 8));
    cxButton6->move(0, buttonsTop);
    cxButton1->move(w - cxButton1->width(), buttonsTop);
}

bool TRemoveDvdForm::FormCreate()
{
    StyleStartAndClose(cxButton1, cxButton6);

    cxButton1->setText(StripAmpersands(ResStr(SStart)));
    lvSPDL->setHeaderLabels({ResStr(SColumnID), ResStr(SColumnDeviceName), ResStr(SColumnDeviceType),
                             ResStr(SColumnDriveLetter), ResStr(SColumnDriveLabel)});
    cxButton6->setText(StripAmpersands(ResStr(SClose)));

    Burner = std::make_unique<TsbBurner>();
    const bool result = Burner->CheckVPortDriver();
    FSPDeviceList = std::make_unique<TsbSPDeviceList>();
    RefreshDeviceList();

    if (!CmdRemoveDrive.isEmpty()) {
        const QString wanted = lowerAscii(CmdRemoveDrive);
        for (int i = 0; i < lvSPDL->topLevelItemCount(); ++i) {
            QTreeWidgetItem* row = lvSPDL->topLevelItem(i);
            if (lowerAscii(row->text(3)) == wanted) {
                lvSPDL->setCurrentItem(row);
                row->setSelected(true);
                break;
            }
        }
    }
    return result;
}

void TRemoveDvdForm::RefreshDeviceList()
{
    char vendor[1024] = {}, product[1024] = {}, revision[1024] = {}, letter[1024] = {};
    lvSPDL->setUpdatesEnabled(false);
    struct TResumeRepaint {
        QTreeWidget* view;
        ~TResumeRepaint() { view->setUpdatesEnabled(true); }
    } resume{lvSPDL};

    FSPDeviceList->Clear();
    lvSPDL->clear();

    TVPortDeviceListBuffer list;
    int32_t count = 0;
    uint32_t systemError = 0;
    const EXCEPTION_NUMBER query =
        Burnkit_VPort_DeviceListQueryLocal(list.Data(), TVPortDeviceListBuffer::Size, &count, &systemError);
    if (query != EN_SUCCESS)
        throw platform::EOSError("Burnkit_VPort_DeviceListQueryLocal() failed, exception " +
                                     std::to_string(query),
                                 int(systemError));

    const int32_t entries = TVPortDeviceListBuffer::Readable(list.CountField());
    for (int32_t i = 1; i <= entries; ++i) {
        const VPORT_DEVICE_LIST_ENTRY entry = list.Entry(i);
        const int32_t targetId = entry.m__LONG__TargetId;
        VPORT_DEVICE_TYPE type = VPORT_DEVICE_TYPE_UNKNOWN;
        if (Burnkit_VPort_GetDeviceInformation(targetId, &type, vendor, sizeof vendor, product, sizeof product,
                                               revision, sizeof revision, &systemError) != EN_SUCCESS)
            continue;
        TsbVPortDeviceType device;
        device.TargetID = targetId;
        device.VPORT_DEVICE_TYPE = type;
        device.VendorID = CharArrayToStr(vendor, 1023);
        device.ProductID = CharArrayToStr(product, 1023);
        device.Revision = CharArrayToStr(revision, 1023);

        const std::string name = CharArrayToStr(entry.m__CHAR__Name, 1023);
        const std::string shown = AnsiTextEquals(LeftChars(name, 11), "TargetName=")
                                      ? GetKeyValue(name, "TargetName", "=")
                                      : name;

        if (Burnkit_VPort_GetDeviceLetter(targetId, letter, &systemError) == EN_SUCCESS) {
            const std::string drive = CharArrayToStr(letter, 1023);
            if (!drive.empty()) {
                device.DeviceLetter = drive + ":\\";
                std::string label, fileSystem;
                if (platform::GetVolumeInformation(device.DeviceLetter, label, fileSystem))
                    device.DriveLabel = label;
            }
        }
        if (device.DeviceLetter.empty())
            continue;

        TsbSPDeviceItem* item = FSPDeviceList->Add();
        item->VPortDeviceType() = device;
        item->TargetName() = fromAnsi(name);
        item->ShowTargetName() = fromAnsi(shown);
        auto* row = new QTreeWidgetItem(
            QStringList{QString::number(targetId), fromAnsi(shown),
                        QString::fromStdString(GetVPortDeviceTypeName(type)), fromAnsi(device.DeviceLetter),
                        fromAnsi(device.DriveLabel)});
        lvSPDL->addTopLevelItem(row);
    }
    lvSPDLChange();
}

bool TRemoveDvdForm::HasSelectedRow() const { return !lvSPDL->selectedItems().isEmpty(); }

void TRemoveDvdForm::lvSPDLChange() { cxButton1->setEnabled(HasSelectedRow()); }

void TRemoveDvdForm::PrepareVPortDeviceType()
{
    const QList<QTreeWidgetItem*> selected = lvSPDL->selectedItems();
    if (selected.isEmpty())
        return;
    const int index = lvSPDL->indexOfTopLevelItem(selected.first());
    if (index < 0 || index >= FSPDeviceList->Count())
        return;
    TsbSPDeviceItem* item = FSPDeviceList->Items(index);
    Burner->VPortOptions.TargetName = toAnsi(item->TargetName());
    Burner->VPortOptions.ShowTargetName = toAnsi(item->ShowTargetName());
    Burner->VPortOptions.VPortDeviceType = item->VPortDeviceType();
}

void TRemoveDvdForm::cxButton1Click()
{
    if (lvSPDL->selectedItems().size() != 1 || !Burner)
        return;
    PrepareVPortDeviceType();
    uint32_t systemError = 0;
    if (Burnkit_VPort_DeviceRemove(Burner->VPortOptions.VPortDeviceType.TargetID, &systemError) != EN_SUCCESS)
        return;
    if (ParamStr(1) == QLatin1String("/remove"))
        TerminateApplication();
    else if (MainForm)
        MainForm->CloseTab();
}

void TRemoveDvdForm::cxButton6Click()
{
    if (MainForm)
        MainForm->CloseTab();
}

void TMainForm::RemoveDriveButtClick()
{
    try {
        if (!RemoveDvdForm)
            RemoveDvdForm = new TRemoveDvdForm(this);
        if (RemoveDvdForm->FormCreate())
            showtab(RemoveDvdForm, 5, VDText(TVDText::RemoveVirtualDrive),
                    VDText(TVDText::RemoveVirtualDriveDesc), true);
    } catch (const std::exception& e) {
        // A driver list that cannot be read keeps the page closed; the
        // application's error box shows why.
        ApplicationShowException(QString::fromStdString(e.what()));
    }
}
