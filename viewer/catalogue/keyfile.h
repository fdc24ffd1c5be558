#pragma once
// The keys of a data file, read without any window: line 1 is the list name,
// lines 2 and 3 are skipped, every further line up to the end is one key.
#include <QList>
#include <QString>
#include <QStringView>

#include "datafile.h"
#include "rowends.h"

// Raw bytes decoded at a time: few codec calls, yet a small share of the memory.
constexpr qsizetype KeyBlockBytes = 1024 * 1024;

struct KeyRow {
    QString text;
    bool bold = false;
};

// Ordered key rows kept in one text buffer without their line ends, each row where
// the row before it ends, headings one bit each: a list of a million keys costs little
// more than its text and a handful of allocations instead of a million.
class KeyRows {
public:
    qsizetype count() const { return m_ends.count(); }
    bool isEmpty() const { return m_ends.isEmpty(); }
    QStringView text(qsizetype row) const;
    bool isBold(qsizetype row) const { return (m_bold.at(row / 64) >> (row % 64)) & 1; }
    KeyRow row(qsizetype index) const { return {text(index).toString(), isBold(index)}; }

    void append(QStringView text, bool bold);
    // Adds every line of decoded data-file text: a line ends at CR LF or a lone CR,
    // the text after the last terminator is a line when it is not empty. Headings bold.
    void appendLines(QStringView decoded);
    // The same for CP932 bytes that end after a line end (CR LF kept together) or at
    // the end of the file, decoded straight into the buffer.
    void appendLineBytes(QByteArrayView bytes);
    void reserveText(qsizetype characters) { m_text.reserve(characters); }
    void reserveRows(qsizetype rows);
    void squeeze();
    void clear();

    // The texts of the bold rows, in row order.
    QStringList boldTexts() const;
    // The first row whose text equals text exactly, from row 0; -1 when there is none.
    qsizetype indexOf(QStringView text) const;

private:
    void endRow(qsizetype end, bool bold);

    QString m_text;
    RowEnds<> m_ends;
    QList<quint64> m_bold;  // bit row % 64 of word row / 64
};

struct KeyList {
    QString name;  // line 1
    KeyRows keys;  // headings ("#[" first) bold
};

// Reads the list name and the keys of the data file at path. A path that cannot be
// opened reads as an empty file: empty name, no keys.
// blockBytes is how much raw text is decoded at a time; chunks as for DataFileReader.
KeyList loadKeyList(const QString &path, qsizetype blockBytes = KeyBlockBytes, ReadChunks chunks = {});
