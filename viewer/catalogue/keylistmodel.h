#pragma once
// The keys of ListView2: one row per key, headings bold, tool tip = text. Built for
// lists of a million keys: rows are spans of one text buffer, no widget per row.
#include "keyfile.h"

#include <QAbstractListModel>

class KeyListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void clear();
    int addRow(const QString &text, bool bold);
    // Replaces all rows at once (one model reset, however many keys).
    void setRows(KeyRows rows);
    KeyRow row(int index) const { return m_rows.row(index); }
    QString text(int index) const { return m_rows.text(index).toString(); }
    const KeyRows &rows() const { return m_rows; }
    int count() const { return int(m_rows.count()); }

    // The one column's heading: "キー" until a list is opened.
    void setHeading(const QString &heading);
    QString heading() const { return m_heading; }

private:
    KeyRows m_rows;
    QString m_heading = QStringLiteral("キー");
};
