#include "textpreview.h"

#include "cp932.h"

#include <QLocale>

namespace textpreview {

QString omittedNote(qint64 shownBytes)
{
    return QStringLiteral("\n\n――― ファイルが大きいため、先頭の %1 バイトだけを表示しています。"
                          "以降は表示していません。 ―――")
        .arg(QLocale(QLocale::Japanese).toString(shownBytes));
}

QString shownText(const QByteArray &leading, qint64 limit)
{
    if (leading.size() <= limit)
        return common::cp932::decode(leading);
    const qsizetype cut = common::cp932::wholeCharactersLength(leading, limit);
    return common::cp932::decode(QByteArrayView(leading).first(cut)) + omittedNote(cut);
}

}  // namespace textpreview
