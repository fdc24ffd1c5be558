#pragma once
// A resizable window that shows one text read-only; opened modally by the updater.

#include <QDialog>

class QPlainTextEdit;

class FTextView : public QDialog {
    Q_OBJECT
public:
    explicit FTextView(QWidget *owner);
    QPlainTextEdit *Text1 = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;  // Form_Resize
};
