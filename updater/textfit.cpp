#include "textfit.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QTextDocumentFragment>

namespace textfit {

bool fits(const QLabel *label)
{
    const QRect area = label->contentsRect();
    const bool rich = label->textFormat() == Qt::RichText ||
                      (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
    const QString shown = rich ? QTextDocumentFragment::fromHtml(label->text()).toPlainText() : label->text();
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QFontMetrics metrics(label->font());
    if (!area.contains(metrics.boundingRect(area, flags, shown)))
        return false;
    // An underline may reach below the descent of some fonts.
    if (label->font().underline() && metrics.ascent() + metrics.underlinePos() + metrics.lineWidth() > area.height())
        return false;
    // Rich text is laid out by a text document, whose lines may be taller.
    const int laidOut = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
    return laidOut <= label->height();
}

void shrinkToFit(QLabel *label, const QFont &designFont)
{
    QFont font = designFont;
    label->setFont(font);
    while (!fits(label) && font.pointSizeF() - 0.5 >= MinimumPointSize) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        label->setFont(font);
    }
}

}  // namespace textfit
