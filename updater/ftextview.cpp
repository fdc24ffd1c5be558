#include "ftextview.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QResizeEvent>

QPlainTextEdit *newReadOnlyTextBox(QWidget *parent, const QString &accessibleName)
{
    auto *box = new QPlainTextEdit(parent);
    box->setReadOnly(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setAccessibleName(accessibleName);
    QPalette colours = box->palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Button));
    colours.setColor(QPalette::Text, colours.color(QPalette::ButtonText));
    box->setPalette(colours);
    return box;
}

FTextView::FTextView(QWidget *owner) : QDialog(owner)
{
    Text1 = newReadOnlyTextBox(this, QStringLiteral("内容"));
    resize(312, 213);  // 4680 x 3195 twips
}

void FTextView::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Text1->setGeometry(0, 0, width(), height());
}
