#include "BaseFrame.h"

#include <cmath>

namespace {

int scaled(int v, int M, int D) { return int(std::lround(double(v) * M / D)); }

void scaleWidget(QWidget* w, int M, int D, bool moveIt)
{
    const QRect g = w->geometry();
    if (moveIt)
        w->move(scaled(g.x(), M, D), scaled(g.y(), M, D));
    w->resize(scaled(g.width(), M, D), scaled(g.height(), M, D));
    QFont f = w->font();
    if (f.pixelSize() > 0)
        f.setPixelSize(scaled(f.pixelSize(), M, D));
    w->setFont(f);
}

}  // namespace

TBaseFrame::TBaseFrame(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint)
{
    resize(623, 407);
}

void TBaseFrame::Loaded() { ScaleBy(logicalDpiX(), 96); }

void TBaseFrame::ScaleBy(int M, int D)
{
    if (M == D || D == 0)
        return;
    scaleWidget(this, M, D, false);
    for (QWidget* child : findChildren<QWidget*>())
        scaleWidget(child, M, D, true);
}
