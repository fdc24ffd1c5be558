#pragma once
// The keys of ListView2: one row per key, headings bold. Built for lists of a
// million keys: rows are plain values, no widget per row.
#include <QAbstractListModel>
#include <QList>

struct KeyRow {
    QString text;
    bool bold = false;
};

class KeyListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void clear();
    int addRow(const QString &text, bool bold);
    void setRows(QList<KeyRow> rows);
    const KeyRow &row(int index) const { return m_rows.at(index); }
    int count() const { return int(m_rows.size()); }

    // The one column's heading: "キー" until a list is opened.
    void setHeading(const QString &heading);
    QString heading() const { return m_heading; }

private:
    QList<KeyRow> m_rows;
    QString m_heading = QStringLiteral("キー");
};
