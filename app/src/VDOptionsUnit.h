#pragma once

#include <QPointer>

#include "BaseFrame.h"

// The options page (placeholder until the page itself lands).
class TOptionsForm : public TBaseFrame {
    Q_OBJECT
public:
    explicit TOptionsForm(QWidget* owner);
    // Set-up at every opening.
    void FormCreate();
};

extern QPointer<TOptionsForm> OptionsForm;
