#include "ftextview.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QResizeEvent>

FTextView::FTextView(QWidget *owner)
    : QDialog(owner)
{
    Text1 = new QPlainTextEdit(this);
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setAccessibleName(QStringLiteral("内容"));
    QPalette colours = Text1->palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Button));
    colours.setColor(QPalette::Text, colours.color(QPalette::ButtonText));
    Text1->setPalette(colours);
    resize(312, 213);  // 4680 x 3195 twips
}

void FTextView::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Text1->setGeometry(0, 0, width(), height());
}
