// Interim: decodes through Qt's ICU converter until the generated table lands.
#include "../cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace cp932 {

QString decode(QByteArrayView bytes)
{
    QStringDecoder d("windows-31j");
    return d(bytes);
}

QByteArray encode(QStringView text)
{
    QStringEncoder e("windows-31j");
    return e(text);
}

} // namespace cp932
