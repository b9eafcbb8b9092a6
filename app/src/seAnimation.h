#pragma once

#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>

// A page transition: Capture freezes the picture of a widget's area under an
// overlay, so that the changes that follow are not seen one by one; Run
// fades the frozen picture out over the new state and removes the overlay.
// Run is synchronous (it keeps the UI painting meanwhile) and always leaves
// the object ready for the next Capture, also when the fade fails.
class TseAnimation {
public:
    QString Effect = QStringLiteral("[ FADE ] - SmoothDown");
    bool Enabled = true;
    int DurationMs = 180;

    void Capture(QWidget* host, const QRect& area);
    void Run();
    bool Capturing() const { return overlay_ != nullptr; }

private:
    QPointer<QWidget> overlay_;
};
