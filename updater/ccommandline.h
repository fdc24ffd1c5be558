#pragma once
// The updater's command-line items: item 0 the local data file, item 1 the update
// address. The item array always ends with one extra empty element, so MaxIndex is
// the number of items.

#include <QString>
#include <QStringList>

class CCommandLine {
public:
    // Replaces the items by those of s and consumes s: afterwards it is empty or
    // holds the raw last item. Callers pass a copy.
    void GetLine(QString &s);
    // Takes items that the system has already split.
    void SetItems(const QStringList &items);

    // The element at index; an index outside MinIndex..MaxIndex (or any index before
    // the first GetLine) gives the empty text and a warning instead of a crash.
    QString Lines(int index) const;
    int MaxIndex() const { return int(m_items.size()) - 1; }
    int MinIndex() const { return 0; }

private:
    QStringList m_items;  // empty until the first GetLine
};
