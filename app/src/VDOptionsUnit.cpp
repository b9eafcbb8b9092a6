#include "VDOptionsUnit.h"

QPointer<TOptionsForm> OptionsForm;

TOptionsForm::TOptionsForm(QWidget* owner) : TBaseFrame(owner) { hide(); }

void TOptionsForm::FormCreate() {}
