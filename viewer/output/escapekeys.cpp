#include "escapekeys.h"

namespace {

bool isReserved(char16_t c)
{
    switch (c) {
    case u'+':
    case u'＋':
    case u'^':
    case u'＾':
    case u'%':
    case u'％':
    case u'~':
    case u'～':
    case u'(':
    case u'（':
    case u')':
    case u'）': return true;
    default: return false;
    }
}

}  // namespace

QString escapeKeys(const QString &keyText)
{
    // No replacement holds a character that another one looks for, so one pass that
    // wraps each reserved character gives the same text as replacing them in turn.
    QString escaped;
    escaped.reserve(keyText.size());
    for (const QChar ch : keyText) {
        if (isReserved(ch.unicode())) {
            escaped.append(u'{');
            escaped.append(ch);
            escaped.append(u'}');
        } else {
            escaped.append(ch);
        }
    }
    return escaped;
}
