#include "grabUnit.h"

#include "VDMainUnit.h"
#include "VDTexts.h"

QPointer<TGrabForm> GrabForm;

TGrabForm::TGrabForm(QWidget* owner) : TPagePlaceholder(owner, QStringLiteral("Copying discs to images")) {}

bool TGrabForm::formcreate() { return true; }

void TMainForm::MakeIsoButtActivateDetail()
{
    if (!GrabForm)
        GrabForm = new TGrabForm(this);
    HelpPageName = QStringLiteral("burner-copy.html");
    if (GrabForm->formcreate())
        showtab(GrabForm, 6, VDText(TVDText::DvdToIso), VDText(TVDText::DvdToIsoDesc), true);
}
