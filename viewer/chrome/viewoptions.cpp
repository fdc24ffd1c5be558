#include "viewoptions.h"

#include "catalogue/keylistview.h"
#include "menutree.h"

#include <QAction>
#include <QTableView>

ViewOptions::ViewOptions(const MenuTree &menus, QTableView *catalogueView, KeyListView *keyListView)
    : m_menus(menus), m_catalogueView(catalogueView), m_keyListView(keyListView)
{}

void ViewOptions::select(KeyListLook look)
{
    for (int i = 1; i <= 2; ++i)
        m_menus.mnuViewSelect[i]->setChecked(false);
    switch (look) {
    case KeyListLook::Details:
        m_menus.mnuViewSelect[1]->setChecked(true);
        m_keyListView->setView(KeyListView::DetailsView);
        break;
    case KeyListLook::List:
        m_menus.mnuViewSelect[2]->setChecked(true);
        m_keyListView->setView(KeyListView::ListView);
        break;
    }
}

void ViewOptions::toggleGrid()
{
    QAction *grid = m_menus.mnuViewGrid;
    grid->setChecked(!grid->isChecked());
    m_catalogueView->setShowGrid(grid->isChecked());
    m_keyListView->setGridLines(grid->isChecked());
}
