#include "commandline.h"

namespace common {

namespace {

constexpr QChar Blank = QLatin1Char(' ');
constexpr QChar Quote = QLatin1Char('"');

// A quoted item keeps what lies between its first and its last character.
QString dropQuotes(const QString &item)
{
    if (!item.startsWith(Quote))
        return item;
    return item.size() < 2 ? QString() : item.mid(1, item.size() - 2);
}

}  // namespace

QStringList splitCommandLine(const QString &argumentText, QString *unsplitRest)
{
    QStringList items;
    QString rest = argumentText;
    while (!rest.isEmpty()) {
        // Index of the separating blank (0-based); -1 when none is left.
        qsizetype blank = rest.indexOf(Blank);
        if (blank >= 0 && QStringView(rest).left(blank + 1).contains(Quote)) {
            const qsizetype closing = rest.indexOf(Quote, 1);
            if (closing < 0) {
                // Never closed: the rest without its opening quote is the last item.
                items.append(rest.mid(1));
                break;
            }
            blank = rest.indexOf(Blank, closing);
        } else if (blank < 0 && rest.startsWith(Quote) && rest.indexOf(Quote, 1) < 0) {
            items.append(rest.mid(1));
            break;
        }
        if (blank < 0) {
            items.append(dropQuotes(rest));
            break;
        }
        items.append(dropQuotes(rest.left(blank)));
        rest.remove(0, blank + 1);
    }
    if (unsplitRest)
        *unsplitRest = items.isEmpty() || rest.isEmpty() ? QString() : rest;
    return items;
}

}  // namespace common
