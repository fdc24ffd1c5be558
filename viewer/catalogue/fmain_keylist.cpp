// FMain: the key list and the heading picker.
#include "main/fmain.h"

#include "cataloguemodel.h"
#include "celltext.h"
#include "keyfile.h"
#include "keylistmodel.h"
#include "keylistview.h"
#include "platform/fileattributes.h"

#include <QComboBox>

void FMain::ListView1_DblClick()
{
    if (m_catalogue->count() == 0)
        return;
    const int row = currentCatalogueRow();
    if (row < 0)
        return;
    LoadKeys(m_catalogue->row(row).location);
}

void FMain::LoadKeys(const QString &path)
{
    // A list whose file has gone leaves everything as it was, without a message.
    if (!platform::FileExists(path).exists)
        return;
    // Cleared before reading, so that the old list's memory is free for the new one.
    m_keys->clear();
    Combo1->clear();
    KeyList list = loadKeyList(path);
    m_keys->setHeading(QStringLiteral("キー (") + cellText(list.name) + QStringLiteral(")"));
    const QStringList headings = list.keys.boldTexts();
    // All rows in one go: a row-by-row insert is far too slow for a million keys.
    m_keys->setRows(std::move(list.keys));
    AddHeadings(headings);
    // As in the catalogue, a freshly filled list has its first row current, so Ctrl+B
    // and Ctrl+C act on a key straight away.
    if (m_keys->count() > 0)
        ListView2->setCurrentRow(0);
    UpdateStatusBar(m_keys->count());
}

void FMain::AddHeadings(const QStringList &headings)
{
    // The box shows each heading cut like a list cell; one that had to be cut keeps its
    // whole text as item data, for the jump.
    QStringList shown;
    shown.reserve(headings.size());
    for (const QString &heading : headings)
        shown.append(cellText(heading));
    Combo1->addItems(shown);
    for (int i = 0; i < int(headings.size()); ++i)
        if (shown.at(i).size() != headings.at(i).size())
            Combo1->setItemData(i, headings.at(i));
}

void FMain::ChooseHeading(int index)
{
    const QVariant whole = Combo1->itemData(index);
    Combo1_Click(whole.isValid() ? whole.toString() : Combo1->itemText(index));
}

int FMain::AddKeyRow(const QString &text, bool bold)
{
    return m_keys->addRow(text, bold);
}

void FMain::Combo1_Click(const QString &text)
{
    // The first row with exactly this text, letter case included: a heading that
    // differs from another only in case still jumps to itself. The current row stays.
    const qsizetype found = m_keys->rows().indexOf(text);
    if (m_keys->count() > 0)
        ListView2->scrollToRow(m_keys->count() - 1);
    // Coming from below, the found row lands on the top line of the view.
    if (found >= 0)
        ListView2->scrollToRow(int(found));
}
