#pragma once
// The View menu's choices: the key list's look (details or list, one marked) and
// grid lines on both lists.
class QTableView;
class KeyListView;
struct MenuTree;

// mnuViewSelect's indexes.
enum class KeyListLook { Details = 1, List = 2 };

class ViewOptions {
public:
    ViewOptions(const MenuTree &menus, QTableView *catalogueView, KeyListView *keyListView);

    // Marks the chosen look and shows it; any other value only clears the marks.
    void select(KeyListLook look);
    void toggleGrid();

private:
    const MenuTree &m_menus;
    QTableView *m_catalogueView;
    KeyListView *m_keyListView;
};
