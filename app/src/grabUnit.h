#pragma once

#include <QPointer>

#include "PagePlaceholder.h"

// The disc-to-image page (placeholder until the page itself lands).
class TGrabForm : public TPagePlaceholder {
    Q_OBJECT
public:
    explicit TGrabForm(QWidget* owner);
    // Set-up at every opening.
    bool formcreate();
};

extern QPointer<TGrabForm> GrabForm;
