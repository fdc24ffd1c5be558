#include "viewerfont.h"

#include <QFontDatabase>

QFont viewerListFont()
{
    QFont font;
    if (QFontDatabase::hasFamily(QStringLiteral("Terminal"))) {
        font.setFamily(QStringLiteral("Terminal"));
    } else {
        setPreferredFamilies(font, {QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("Noto Sans CJK JP"),
                                    QStringLiteral("monospace")});
        font.setStyleHint(QFont::Monospace);
    }
    font.setPointSizeF(9.75);
    return font;
}

QFont viewerTitleFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("sans-serif")});
    font.setPointSize(9);
    font.setBold(true);
    return font;
}

void setPreferredFamilies(QFont &font, const QStringList &families)
{
    if (!families.isEmpty() && QFontDatabase::hasFamily(families.first()))
        font.setFamilies({families.first()});
    else
        font.setFamilies(families);
}
