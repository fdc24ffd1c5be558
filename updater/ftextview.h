#pragma once
// A resizable window that shows one text read-only; opened modally by the updater.

#include <QDialog>

class QPlainTextEdit;
class QString;

// A read-only text box coloured like a button face, with its vertical scroll bar
// always shown: the view's text and the updater's log.
QPlainTextEdit *newReadOnlyTextBox(QWidget *parent, const QString &accessibleName);

class FTextView : public QDialog {
    Q_OBJECT
public:
    explicit FTextView(QWidget *owner);
    QPlainTextEdit *Text1 = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;  // Form_Resize
};
