#pragma once
// Tables that give a code (an error number, an enum value) its text, for the many
// places that word codes for the user.
#include <QString>
#include <QStringView>

#include <cstddef>

namespace common {

template <typename Code>
struct CodeText {
    Code code;
    QStringView text;
};

// The text the table gives the code; fallback when the table does not name it.
template <typename Code, std::size_t N>
QString textOf(const CodeText<Code> (&table)[N], Code code, const QString &fallback = QString())
{
    for (const CodeText<Code> &entry : table)
        if (entry.code == code)
            return entry.text.toString();
    return fallback;
}

}  // namespace common
