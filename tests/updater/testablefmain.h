#pragma once
// The updater window with its message boxes and text views recorded and answered
// instead of shown, so that tests never block.

#include "fmain.h"

#include <QList>

class TestableFMain : public kox::FMain {
public:
    using kox::FMain::FMain;
    using kox::FMain::SetStatus;

    struct Box {
        QMessageBox::Icon icon;
        QString text;
    };
    struct View {
        QString caption;
        QString text;
    };
    QList<Box> boxes;
    QList<View> views;
    QList<QMessageBox::StandardButton> answers;  // used in order; then Yes or Ok

    QString allBoxTexts() const
    {
        QString all;
        for (const Box &box : boxes)
            all += box.text + QLatin1Char('\n');
        return all;
    }

protected:
    QMessageBox::StandardButton showMessage(QMessageBox::Icon icon, const QString &text,
                                            QMessageBox::StandardButtons buttons) override
    {
        boxes.append({icon, text});
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
    }
    void showTextView(const QString &caption, const QString &text) override { views.append({caption, text}); }
};
