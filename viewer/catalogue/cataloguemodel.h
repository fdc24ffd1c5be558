#pragma once
// The catalogue rows of ListView1: five columns read back by position.
#include <QAbstractTableModel>
#include <QList>

struct ListRow {
    QString name;               // row text
    QString description;        // sub-item 1
    QString lastUpdate;         // sub-item 2
    QString location;           // sub-item 3
    QString address;            // sub-item 4
    quint32 colour = 0xFFFFFF;  // Windows colour value, blue-green-red
};

class CatalogueModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, DescriptionColumn, LastUpdateColumn, LocationColumn, AddressColumn, ColumnCount };
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void clear();
    int addRow(const ListRow &row);
    // Rows added between these two reach the views as one reset rather than one
    // insertion each: a catalogue is built a thousand rows at a time.
    void beginRefill();
    void endRefill();
    const ListRow &row(int index) const { return m_rows.at(index); }
    int count() const { return int(m_rows.size()); }

    // A Windows colour value (0x00BBGGRR) as a QColor.
    static QColor colourFromBgr(quint32 bgr);

private:
    QList<ListRow> m_rows;
    bool m_refilling = false;
};
