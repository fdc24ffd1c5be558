#pragma once
// Where each row of a text buffer ends, in one small integer a row: the low bits of
// each end, and the rows at which the ends pass each multiple of the integer's range.
// A list under 4 G characters has no such rows, so a row costs four bytes.
#include <QList>

#include <algorithm>
#include <vector>

template <typename Low = quint32>
class RowEnds {
public:
    qsizetype count() const { return qsizetype(m_low.size()); }
    bool isEmpty() const { return m_low.empty(); }
    qsizetype at(qsizetype row) const
    {
        const qsizetype high = std::upper_bound(m_wraps.cbegin(), m_wraps.cend(), row) - m_wraps.cbegin();
        return (high << LowBits) | qsizetype(m_low[size_t(row)]);
    }
    // Where row starts: where the row before it ends.
    qsizetype startOf(qsizetype row) const { return row == 0 ? 0 : at(row - 1); }
    // Ends never go down.
    void append(qsizetype end)
    {
        // A row longer than the range passes several multiples: one entry for each.
        while ((end >> LowBits) > m_wraps.size())
            m_wraps.append(count());
        m_low.push_back(Low(end));
    }
    // Room that is reserved and never written takes no memory, so there is nothing
    // to give back: squeezing would only copy the ends.
    void reserve(qsizetype rows) { m_low.reserve(size_t(rows)); }

private:
    static constexpr int LowBits = int(sizeof(Low)) * 8;
    std::vector<Low> m_low;    // its push_back is inlined, which matters for a million rows
    QList<qsizetype> m_wraps;  // for each multiple, the first row that ends at or past it
};
