// FMain: the hidden menu tree, the menu-button and command bars, and the commands
// that belong to no other subsystem.
#include "main/fmain.h"

#include <QAction>
#include <QMenu>

void FMain::buildMenus() {}

void FMain::Toolbar2_ButtonClick(const QString &) {}

void FMain::Toolbar4_ButtonClick(const QString &) {}

void FMain::mnuViewSelect_Click(int) {}

void FMain::mnuViewGrid_Click() {}

void FMain::mnuFileClose_Click()
{
    close();
}

void FMain::mnuHelpAbout_Click() {}
