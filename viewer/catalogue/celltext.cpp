#include "celltext.h"

QString cellText(QStringView text)
{
    qsizetype keep = qMin(text.size(), CellTextLimit);
    if (keep < text.size() && text.at(keep - 1).isHighSurrogate())
        --keep;
    QString shown = text.first(keep).toString();
    for (QChar &ch : shown) {
        const char16_t c = ch.unicode();
        if ((c < 0x20 && c != u'\t') || c == 0x7f)
            ch = QChar(QChar::ReplacementCharacter);
    }
    if (keep < text.size())
        shown += QChar(0x2026);
    return shown;
}
