#pragma once

#include <QPointer>

#include "PagePlaceholder.h"

// The remove-drive page (placeholder until the page itself lands).
class TRemoveDvdForm : public TPagePlaceholder {
    Q_OBJECT
public:
    explicit TRemoveDvdForm(QWidget* owner);
    // Set-up at every opening; true when the page may be shown.
    bool FormCreate();
    // Whether the drive list has a selected row.
    bool HasSelectedRow() const;
    // Start: removes the selected drive.
    void cxButton1Click();
};

extern QPointer<TRemoveDvdForm> RemoveDvdForm;
