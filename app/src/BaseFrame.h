#pragma once

#include <QWidget>

// The borderless base page (623 x 407 at 96 dots per inch) that docked
// pages may derive from. Loaded rescales it to the screen's resolution.
class TBaseFrame : public QWidget {
    Q_OBJECT
public:
    explicit TBaseFrame(QWidget* parent = nullptr);

    // Runs once a derived page has built its controls: scales the page and
    // all its controls by screen dots per inch / 96.
    virtual void Loaded();
    // Scales size, position and fonts of the page and its controls by M / D.
    void ScaleBy(int M, int D);
};
