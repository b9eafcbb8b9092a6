#include "VDInstallUnit.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

QPointer<TVDInstallForm> VDInstallForm;

TVDInstallForm::TVDInstallForm(QWidget* parent) : QWidget(parent) {}

void TVDInstallForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    std::fprintf(stderr, "driver installer mode is not available in this build\n");
    QTimer::singleShot(0, [] { QCoreApplication::exit(1); });
}
