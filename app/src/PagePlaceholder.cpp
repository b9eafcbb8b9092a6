#include "PagePlaceholder.h"

#include "VDMainUnit.h"

TPagePlaceholder::TPagePlaceholder(QWidget* owner, const QString& what) : QWidget(owner)
{
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("%1 is not available in this build.").arg(what), this);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label, 1);
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    layout->addWidget(CloseButton, 0, Qt::AlignLeft);
    connect(CloseButton, &QPushButton::clicked, this, [] {
        if (MainForm)
            MainForm->CloseTab();
    });
    hide();
}
