// FMain: the hidden menu tree, the menu-button and command bars, and the commands
// that belong to no other subsystem.
#include "main/fmain.h"

#include <QAction>
#include <QMenu>

void FMain::buildMenus()
{
    // Key output commands. Their shortcuts belong to the window, so Ctrl+C and Ctrl+B
    // work wherever the focus is in the viewer, without opening a menu.
    mnuEditCopy = new QAction(QStringLiteral("コピー(&C)"), this);
    mnuEditCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEditCopy->setShortcutContext(Qt::WindowShortcut);
    addAction(mnuEditCopy);
    connect(mnuEditCopy, &QAction::triggered, this, &FMain::mnuEditCopy_Click);
    mnuEditSendKey = new QAction(QStringLiteral("直接出力(&B)"), this);
    mnuEditSendKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    mnuEditSendKey->setShortcutContext(Qt::WindowShortcut);
    addAction(mnuEditSendKey);
    connect(mnuEditSendKey, &QAction::triggered, this, &FMain::mnuEditSendKey_Click);
    // (end of the key output commands; the rest of the menu tree follows)
}

void FMain::Toolbar2_ButtonClick(const QString &) {}

void FMain::Toolbar4_ButtonClick(const QString &) {}

void FMain::mnuViewSelect_Click(int) {}

void FMain::mnuViewGrid_Click() {}

void FMain::mnuFileClose_Click()
{
    close();
}

void FMain::mnuHelpAbout_Click() {}
