#include "keylistpane.h"

#include "cataloguelist.h"
#include "celltext.h"
#include "keyfile.h"
#include "keylistmodel.h"
#include "keylistview.h"
#include "fileattributes.h"

#include <QComboBox>

KeyListPane::KeyListPane(KeyListModel *model, KeyListView *view, QComboBox *headings, CatalogueList &catalogue,
                         Announce announce)
    : m_model(model), m_view(view), m_headings(headings), m_catalogue(catalogue), m_announce(std::move(announce))
{}

void KeyListPane::openCurrentList()
{
    const ListRow *list = m_catalogue.currentList();
    if (!list || !LoadKeys(list->location) || !m_announce)
        return;
    // The key list fills without the focus moving: a screen reader would say nothing.
    const int count = m_model->count();
    // One arg call: a "%1" in the list's name is text, not a place for the count.
    m_announce(count > 0 ? QStringLiteral("「%1」を開きました。キー %2 個").arg(m_listName, QString::number(count))
                         : QStringLiteral("「%1」を開きました。キーはありません").arg(m_listName));
}

void KeyListPane::openListNamed(const QString &name)
{
    const int row = m_catalogue.findRow(name);
    if (row < 0)
        return;
    m_catalogue.setCurrentRow(row);
    openCurrentList();
}

bool KeyListPane::LoadKeys(const QString &path)
{
    // A list whose file has gone leaves everything as it was, without a message.
    if (!platform::FileExists(path).exists)
        return false;
    // Cleared before reading, so that the old list's memory is free for the new one.
    m_model->clear();
    m_headings->clear();
    KeyList list = loadKeyList(path);
    m_listName = cellText(list.name);
    m_model->setHeading(QStringLiteral("キー (") + m_listName + QStringLiteral(")"));
    const QStringList headings = list.keys.boldTexts();
    // All rows in one go: a row-by-row insert is far too slow for a million keys.
    m_model->setRows(std::move(list.keys));
    AddHeadings(headings);
    // As in the catalogue, a freshly filled list has its first row current, so Ctrl+B
    // and Ctrl+C act on a key straight away.
    if (m_model->count() > 0)
        m_view->setCurrentRow(0);
    m_catalogue.UpdateStatusBar(m_model->count());
    return true;
}

void KeyListPane::AddHeadings(const QStringList &headings)
{
    // The box shows each heading cut like a list cell; one that had to be cut keeps its
    // whole text as item data, for the jump.
    QStringList shown;
    shown.reserve(headings.size());
    for (const QString &heading : headings)
        shown.append(cellText(heading));
    m_headings->addItems(shown);
    for (int i = 0; i < int(headings.size()); ++i)
        if (shown.at(i).size() != headings.at(i).size())
            m_headings->setItemData(i, headings.at(i));
}

int KeyListPane::AddKeyRow(const QString &text, bool bold) { return m_model->addRow(text, bold); }

void KeyListPane::clear() { m_model->clear(); }

void KeyListPane::chooseHeading(int index)
{
    const QVariant whole = m_headings->itemData(index);
    jumpToHeading(whole.isValid() ? whole.toString() : m_headings->itemText(index));
}

void KeyListPane::jumpToHeading(const QString &text)
{
    // The first row with exactly this text, letter case included: a heading that
    // differs from another only in case still jumps to itself.
    const qsizetype found = m_model->rows().indexOf(text);
    if (m_model->count() > 0)
        m_view->scrollToRow(m_model->count() - 1);
    // Coming from below, the found row lands on the top line of the view.
    if (found >= 0)
        m_view->scrollToRow(int(found));
}
