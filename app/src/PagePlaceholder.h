#pragma once

#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QVBoxLayout>
#include <QWidget>

// A docked page that this build does not have yet: it says so and offers
// Close, which returns to the tile page.
class TPagePlaceholder : public QWidget {
    Q_OBJECT
public:
    TPagePlaceholder(QWidget* owner, const QString& what);
    QPushButton* CloseButton = nullptr;
};
