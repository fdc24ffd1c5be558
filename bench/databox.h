#pragma once
// The data box the benchmarks read: count lists of 40 business phrases each, in CP932
// with CRLF line ends, as a user's box holds them.
#include "cp932.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

inline bool makeDataBox(const QString &box, int count)
{
    if (!QDir().mkpath(box))
        return false;
    QByteArray keys;
    for (int k = 0; k < 40; ++k)
        keys += common::cp932::encode(QStringLiteral("いつもお世話になっております。%1").arg(k)) + "\r\n";
    for (int i = 0; i < count; ++i) {
        QFile f(QDir(box).filePath(QStringLiteral("list%1.txt").arg(i)));
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(common::cp932::encode(QStringLiteral("ビジネス定型文 %1\r\nメールでよく使う言い回し\r\n").arg(i)));
        f.write("http://127.0.0.1/tuveldbox/list" + QByteArray::number(i) + ".txt\r\n");
        f.write(keys);
    }
    return true;
}
