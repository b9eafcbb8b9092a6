#include "RemoveDvd.h"

#include "VDMainUnit.h"
#include "VDTexts.h"

QPointer<TRemoveDvdForm> RemoveDvdForm;

TRemoveDvdForm::TRemoveDvdForm(QWidget* owner) : TPagePlaceholder(owner, QStringLiteral("Removing virtual drives")) {}

bool TRemoveDvdForm::FormCreate() { return true; }

bool TRemoveDvdForm::HasSelectedRow() const { return false; }

void TRemoveDvdForm::cxButton1Click() {}

void TMainForm::RemoveDriveButtClick()
{
    if (!RemoveDvdForm)
        RemoveDvdForm = new TRemoveDvdForm(this);
    if (RemoveDvdForm->FormCreate())
        showtab(RemoveDvdForm, 5, VDText(TVDText::RemoveVirtualDrive), VDText(TVDText::RemoveVirtualDriveDesc),
                true);
}
