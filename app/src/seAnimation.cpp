#include "seAnimation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QThread>

namespace {

// Paints the frozen picture at a falling opacity.
class TFadeOverlay : public QWidget {
public:
    TFadeOverlay(QWidget* parent, QPixmap picture) : QWidget(parent), picture_(std::move(picture))
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    qreal opacity = 1.0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setOpacity(opacity);
        p.drawPixmap(0, 0, picture_);
    }

private:
    QPixmap picture_;
};

}  // namespace

void TseAnimation::Capture(QWidget* host, const QRect& area)
{
    delete overlay_;
    if (!Enabled || !host || !host->isVisible())
        return;
    auto* overlay = new TFadeOverlay(host, host->grab(area));
    overlay->setGeometry(area);
    overlay->raise();
    overlay->show();
    overlay_ = overlay;
}

void TseAnimation::Run()
{
    auto* overlay = static_cast<TFadeOverlay*>(overlay_.data());
    if (!overlay)
        return;
    overlay->raise();
    QElapsedTimer clock;
    clock.start();
    while (overlay_ && clock.elapsed() < DurationMs) {
        // Smooth down: fast at first, gentle at the end.
        const qreal t = qreal(clock.elapsed()) / DurationMs;
        overlay->opacity = (1.0 - t) * (1.0 - t);
        overlay->repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(15);
    }
    delete overlay_;
}
