#pragma once

#include <QLineEdit>
#include <QPointer>

#include "PagePlaceholder.h"

// The add-drive page (placeholder until the page itself lands).
class TMakeDvdForm : public TPagePlaceholder {
    Q_OBJECT
public:
    explicit TMakeDvdForm(QWidget* owner);
    // Set-up at every opening; true when the page may be shown.
    bool FormCreate();
    // Start: mounts the image of cxTextEdit1.
    void cxButton2Click();
    QLineEdit* cxTextEdit1 = nullptr;
};

extern QPointer<TMakeDvdForm> MakeDvdForm;
