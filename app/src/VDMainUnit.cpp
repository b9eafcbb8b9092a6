#include "VDMainUnit.h"

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Korvanta Virtual Drive"));
    resize(640, 480);
}
