#include "TrayUnit.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

QPointer<TTrayForm> TrayForm;

TTrayForm::TTrayForm(QWidget* parent) : QWidget(parent)
{
    QTimer::singleShot(0, [] {
        std::fprintf(stderr, "tray mode is not available in this build\n");
        QCoreApplication::exit(1);
    });
}
