#include "viewerfont.h"

#include <QFontDatabase>
#include <QStringList>

QFont viewerListFont()
{
    QFont font;
    if (QFontDatabase::families().contains(QStringLiteral("Terminal"))) {
        font.setFamily(QStringLiteral("Terminal"));
    } else {
        font.setFamilies(
            {QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("monospace")});
        font.setStyleHint(QFont::Monospace);
    }
    font.setPointSizeF(9.75);
    return font;
}
