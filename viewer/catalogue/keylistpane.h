#pragma once
// The key list, ListView2, with its heading picker Combo1: the keys of the list
// opened from the catalogue, headings bold and offered for quick jumping.
#include <QString>
#include <QStringList>
#include <functional>

class QComboBox;
class CatalogueList;
class KeyListModel;
class KeyListView;

class KeyListPane {
public:
    using Announce = std::function<void(const QString &text)>;
    KeyListPane(KeyListModel *model, KeyListView *view, QComboBox *headings, CatalogueList &catalogue,
                Announce announce = {});

    // Shows the keys of the catalogue's current list.
    void openCurrentList();
    // Makes the first catalogue row of that name current and shows its keys.
    void openListNamed(const QString &name);
    // False when the file is not there (then nothing changes).
    bool LoadKeys(const QString &path);
    int AddKeyRow(const QString &text, bool bold);
    void clear();
    // Scrolls to the first key with exactly this text; the current row stays.
    void jumpToHeading(const QString &text);
    // The picker's entry at index, by its whole text.
    void chooseHeading(int index);

    KeyListModel *model() const { return m_model; }
    KeyListView *view() const { return m_view; }

private:
    void AddHeadings(const QStringList &headings);

    KeyListModel *m_model;
    KeyListView *m_view;
    QComboBox *m_headings;
    CatalogueList &m_catalogue;
    Announce m_announce;
    QString m_listName;  // of the list last loaded
};
