#pragma once
// Writing a data file and reading it back line by line, for the data-file reader's tests.
#include "catalogue/datafile.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

namespace datafiletest {

inline QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(bytes);
    return path;
}

inline QStringList readAll(const QString &path, qsizetype cap = DataFileReader::MaxLineBytes)
{
    QStringList lines;
    DataFileReader reader(path, cap);
    while (!reader.atEnd())
        lines << reader.ReadLine();
    return lines;
}

}  // namespace datafiletest
