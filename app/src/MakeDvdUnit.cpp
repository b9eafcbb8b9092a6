#include "MakeDvdUnit.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstring>

#include "KVBStrings.h"
#include "KVStrings.h"
#include "VDHelpers.h"
#include "VDMainUnit.h"
#include "VDTexts.h"
#include "platform/CodePage.h"
#include "platform/Process.h"
#include "sbUtils.h"

QPointer<TMakeDvdForm> MakeDvdForm;

std::function<uint32_t(const QString&, const QString&, const QString&, bool, const QString&, int)> InstallerRunner =
    RunAndWait;

std::function<bool(TOpenDialog&)> TOpenDialog::ExecuteHook;

int32_t TVPortDeviceListBuffer::CountField() const
{
    int32_t count = 0;
    std::memcpy(&count, bytes_.data(), sizeof count);
    return count;
}

int32_t TVPortDeviceListBuffer::Readable(int32_t count) { return std::clamp(count, 0, MaxEntries); }

VPORT_DEVICE_LIST_ENTRY TVPortDeviceListBuffer::Entry(int32_t i) const
{
    VPORT_DEVICE_LIST_ENTRY entry{};
    if (i >= 1 && i <= MaxEntries)
        std::memcpy(&entry, bytes_.data() + sizeof(int32_t) + sizeof(VPORT_DEVICE_LIST_ENTRY) * size_t(i - 1),
                    sizeof entry);
    return entry;
}

bool TOpenDialog::Execute(QWidget* parent)
{
    if (ExecuteHook)
        return ExecuteHook(*this);
    // "text|pattern|text|pattern" becomes Qt's "text (pattern);;...".
    const QStringList parts = Filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    QString selected = filters.value(FilterIndex > 0 ? FilterIndex - 1 : 0);
    const QString name =
        QFileDialog::getOpenFileName(parent, QString(), QString(), filters.join(QStringLiteral(";;")), &selected);
    if (name.isEmpty())
        return false;
    FileName = name;
    return true;
}

TMakeDvdForm::TMakeDvdForm(QWidget* owner) : QWidget(owner)
{
    SetUpPage(this, 646, 395);

    cxLabel1 = new QLabel(this);
    cxTextEdit1 = new QLineEdit(this);
    cxButton1 = new QPushButton(QStringLiteral("..."), this);
    cxCheckBox1 = new QCheckBox(this);
    cxButton2 = new QPushButton(this);
    cxButton6 = new QPushButton(this);
    for (QPushButton* b : {cxButton2, cxButton6}) {
        b->setIconSize(QSize(32, 32));
        b->setFixedSize(121, 43);
    }
    connect(cxButton1, &QPushButton::clicked, this, &TMakeDvdForm::cxButton1Click);
    connect(cxButton2, &QPushButton::clicked, this, &TMakeDvdForm::cxButton2Click);
    connect(cxButton6, &QPushButton::clicked, this, &TMakeDvdForm::cxButton6Click);
}

TMakeDvdForm::~TMakeDvdForm() = default;

void TMakeDvdForm::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    const int w = width(), h = height();
    cxLabel1->setGeometry(16, 16, w - 32, 20);
    cxTextEdit1->setGeometry(16, 40, w - 32 - 48, 24);
    cxButton1->setGeometry(w - 16 - 40, 40, 40, 24);
    cxCheckBox1->setGeometry(16, 76, w - 32, 22);
    cxButton6->move(0, h - cxButton6->height());
    cxButton2->move(w - cxButton2->width(), h - cxButton2->height());
}

bool TMakeDvdForm::FormCreate()
{
    bool result = false;
    try {
        Burner = std::make_unique<TsbBurner>();
        result = Burner->CheckVPortDriver();
    } catch (...) {
        result = false;
    }
    StyleStartAndClose(cxButton2, cxButton6);
    cxButton2->setText(StripAmpersands(ResStr(SStart)));
    cxCheckBox1->setText(ResStr(SCreateDriveOnRestart));
    cxLabel1->setText(ResStr(SSelectImageFilename));
    cxButton6->setText(StripAmpersands(ResStr(SClose)));
    return result;
}

void TMakeDvdForm::cxButton1Click()
{
    OpenDialog1.Filter = QStringLiteral("ISO file|*.iso");
    OpenDialog1.FilterIndex = 0;
    if (OpenDialog1.Execute(this))
        cxTextEdit1->setText(OpenDialog1.FileName);
}

void TMakeDvdForm::cxButton2Click()
{
    if (!Burner)
        Burner = std::make_unique<TsbBurner>();
    Burner->VPortOptions.DVDImageFile = platform::WideToAnsi(cxTextEdit1->text().toStdU16String());
    Burner->VPortOptions.Persistent = cxCheckBox1->isChecked();

    uint32_t systemError = 0;
    TVPortDeviceListBuffer list;
    int32_t count = 0;
    try {
        Burnkit_VPort_DeviceListQueryLocal(list.Data(), TVPortDeviceListBuffer::Size, &count, &systemError);
    } catch (...) {
    }

    // Keep the first MaxVirtualDrives - 1 devices; the new one comes after them.
    const int32_t listed = TVPortDeviceListBuffer::Readable(count);
    for (int32_t i = MaxVirtualDrives; i <= listed; ++i)
        Burnkit_VPort_DeviceRemove(list.Entry(i).m__LONG__TargetId, &systemError);

    int32_t targetId = 0;
    EXCEPTION_NUMBER result = EN_FAILURE;
    try {
        result = Burnkit_VPort_DeviceAddLocalEx(VPORT_DEVICE_TYPE_DVD, Burner->VPortOptions.DVDImageFile.c_str(),
                                                &targetId, Burner->VPortOptions.Persistent ? 1 : 0, &systemError);
    } catch (...) {
        // An add that did not return has not created a drive.
        result = EN_FAILURE;
    }
    if (result != EN_SUCCESS) {
        ShowCenteredMessage(ResStr(SErrorCreatingVirtualDrive), mtError, mbOK);
        return;
    }
    FActionVPortDeviceTargetId = targetId;

    char letter[1024] = {};
    try {
        Burnkit_VPort_GetDeviceLetter(targetId, letter, &systemError);
    } catch (...) {
    }
    const std::string drive = CharArrayToStr(letter, 1023);
    if (!drive.empty())
        platform::ShellExecute("", drive + ":\\", "", "", platform::SW_SHOWNORMAL);

    if (ParamCount() >= 1) {
        ShowCenteredMessage(ResStr(SVirtualDriveCreated), mtInformation, mbOK);
        TerminateApplication();
    }
}

void TMakeDvdForm::cxButton6Click()
{
    if (MainForm)
        MainForm->CloseTab();
}

void TMainForm::AddDriveButtClick()
{
    // The driver may be missing: run the installer mode and ask again, once.
    try {
        for (int attempt = 1; attempt <= 2; ++attempt) {
            if (!MakeDvdForm)
                MakeDvdForm = new TMakeDvdForm(this);
            if (MakeDvdForm->FormCreate()) {
                showtab(MakeDvdForm, 4, VDText(TVDText::AddVirtualDrive), VDText(TVDText::AddVirtualDriveDesc),
                        true);
                return;
            }
            InstallerRunner(ExeDir() + QStringLiteral("kvvd2021.exe"), QStringLiteral("-installvd"), ExeDir(), true,
                            QStringLiteral("runas"), platform::SW_SHOWNORMAL);
        }
    } catch (const std::exception& e) {
        ApplicationShowException(QString::fromStdString(e.what()));
    }
}

namespace {

// End-to-end runs have no user to answer message boxes: with
// KV_ACCEPT_MESSAGES set in the environment every message box that shows is
// written to standard error ("message: <text>") and answered with its
// default (or first) button.
void installMessageAutoAccept()
{
    if (qEnvironmentVariableIsEmpty("KV_ACCEPT_MESSAGES"))
        return;
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible())
                continue;
            QAbstractButton* button = box->defaultButton();
            if (!button && !box->buttons().isEmpty())
                button = box->buttons().first();
            if (!button)
                continue;
            std::fprintf(stderr, "message: %s\n", qPrintable(box->text()));
            std::fflush(stderr);
            button->click();
        }
    });
    timer->start(50);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installMessageAutoAccept)
