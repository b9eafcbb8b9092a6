#pragma once

// A small modeless progress dialog with a cancel button and a search
// animation, shown while drives are searched.

#include <QDialog>

#include "sbTypes2.h"

class QLabel;
class QPushButton;
class QTimer;

// The turning clock shown while the dialog is visible.
class TsbSearchAnimation : public QWidget {
public:
    explicit TsbSearchAnimation(QWidget* parent);
    void Play();
    void Stop();
    bool Playing() const;
    int Frame() const { return FFrame; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer* FTimer;
    int FFrame = 0;
};

class TfrmOperationProgress : public QDialog {
public:
    explicit TfrmOperationProgress(QWidget* parent = nullptr);

    QLabel* lblInfo;
    QPushButton* btnCancel;
    TsbSearchAnimation* Animate;
    QLabel* lblCancelling;

    TNotifyEvent& OnCancel() { return FOnCancel; }
    bool InProgress() const { return FInProgress; }
    void SetInProgress(bool Value) { FInProgress = Value; }
    // Shows the cancel button when true, hides it when false.
    void SetAllowCancel(bool Value);

    // With an OnCancel handler: shows "Cancelling...", disables the button
    // and calls the handler. Without one it does nothing.
    void btnCancelClick();

    // TObject-style sender passed to OnCancel.
    TObject* Sender() { return &FSender; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    TNotifyEvent FOnCancel;
    bool FInProgress = false;
    TObject FSender;
};
