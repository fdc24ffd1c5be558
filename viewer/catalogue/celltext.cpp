#include "celltext.h"

QString cellText(QStringView text)
{
    if (text.size() <= CellTextLimit)
        return text.toString();
    qsizetype keep = CellTextLimit;
    if (text.at(keep - 1).isHighSurrogate())
        --keep;
    return text.first(keep).toString() + QChar(0x2026);
}
