#include "MakeDvdUnit.h"

#include <cstdio>

#include "VDMainUnit.h"
#include "VDTexts.h"

QPointer<TMakeDvdForm> MakeDvdForm;

TMakeDvdForm::TMakeDvdForm(QWidget* owner) : TPagePlaceholder(owner, QStringLiteral("Adding virtual drives"))
{
    cxTextEdit1 = new QLineEdit(this);
    layout()->addWidget(cxTextEdit1);
}

bool TMakeDvdForm::FormCreate() { return true; }

void TMakeDvdForm::cxButton2Click()
{
    std::fprintf(stderr, "adding virtual drives is not available in this build\n");
}

void TMainForm::AddDriveButtClick()
{
    if (!MakeDvdForm)
        MakeDvdForm = new TMakeDvdForm(this);
    if (MakeDvdForm->FormCreate())
        showtab(MakeDvdForm, 4, VDText(TVDText::AddVirtualDrive), VDText(TVDText::AddVirtualDriveDesc), true);
}
