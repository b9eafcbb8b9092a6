#include "ufrmOperationProgress.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QtMath>

namespace {
constexpr int kFrames = 12;
constexpr int kStopFrame = 4;
}  // namespace

TsbSearchAnimation::TsbSearchAnimation(QWidget* parent) : QWidget(parent), FTimer(new QTimer(this))
{
    FTimer->setInterval(100);
    QObject::connect(FTimer, &QTimer::timeout, this, [this] {
        FFrame = (FFrame + 1) % kFrames;
        update();
    });
    FFrame = kStopFrame;
}

void TsbSearchAnimation::Play()
{
    FTimer->start();
}

void TsbSearchAnimation::Stop()
{
    FTimer->stop();
    FFrame = kStopFrame;
    update();
}

bool TsbSearchAnimation::Playing() const
{
    return FTimer->isActive();
}

void TsbSearchAnimation::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height()) - 8;
    const QRectF face((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    p.setPen(QPen(palette().color(QPalette::WindowText), 2));
    p.setBrush(palette().color(QPalette::Base));
    p.drawEllipse(face);
    const QPointF centre = face.center();
    const double angle = 2 * M_PI * FFrame / kFrames - M_PI / 2;
    const double r = side * 0.4;
    p.drawLine(centre, centre + QPointF(r * std::cos(angle), r * std::sin(angle)));
    p.drawLine(centre, centre + QPointF(0, -r * 0.6));
}

TfrmOperationProgress::TfrmOperationProgress(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(344, 127);

    lblInfo = new QLabel(this);
    lblInfo->setGeometry(96, 10, 232, 63);
    lblInfo->setWordWrap(true);
    lblInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblInfo->clear();

    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setGeometry(252, 96, 75, 23);
    btnCancel->setAutoDefault(false);
    QObject::connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });

    Animate = new TsbSearchAnimation(this);
    Animate->setGeometry(8, 16, 72, 96);

    lblCancelling = new QLabel(QStringLiteral("Cancelling..."), this);
    lblCancelling->move(96, 96);
    lblCancelling->adjustSize();
    lblCancelling->hide();
}

void TfrmOperationProgress::SetAllowCancel(bool Value)
{
    btnCancel->setVisible(Value);
}

void TfrmOperationProgress::btnCancelClick()
{
    if (!FOnCancel) return;
    lblCancelling->show();
    btnCancel->setEnabled(false);
    FOnCancel(&FSender);
}

void TfrmOperationProgress::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Animate->Play();
    FInProgress = true;
}

void TfrmOperationProgress::hideEvent(QHideEvent* event)
{
    Animate->Stop();
    FInProgress = false;
    QDialog::hideEvent(event);
}

void TfrmOperationProgress::keyPressEvent(QKeyEvent* event)
{
    // Escape cancels like the button; it never closes the dialog.
    if (event->key() == Qt::Key_Escape) {
        btnCancelClick();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmOperationProgress::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate && FInProgress) {
        raise();
        activateWindow();
    }
    return QDialog::event(event);
}
