#include "menutree.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QWidget>

namespace {

QAction *addCommand(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

QMenu *addMenu(QWidget *owner, const QString &name, const QString &caption)
{
    auto *menu = new QMenu(caption, owner);
    menu->setObjectName(name);
    return menu;
}

}  // namespace

MenuTree::MenuTree(QWidget *owner)
{
    mnuFile = addMenu(owner, QStringLiteral("mnuFile"), QStringLiteral("ファイル(&F)"));
    mnuFileListOpen = addCommand(mnuFile, QStringLiteral("mnuFileListOpen"), QStringLiteral("リストを展開(&L)"));
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileHR01"));
    mnuFileClose = addCommand(mnuFile, QStringLiteral("mnuFileClose"), QStringLiteral("終了(&X)"));

    mnuEdit = addMenu(owner, QStringLiteral("mnuEdit"), QStringLiteral("編集(&V)"));
    mnuEditCopy = addCommand(mnuEdit, QStringLiteral("mnuEditCopy"), QStringLiteral("コピー(&C)"));
    mnuEditCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEditSendKey = addCommand(mnuEdit, QStringLiteral("mnuEditSendKey"), QStringLiteral("直接出力(&B)"));
    mnuEditSendKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    // A B held down sends the key once, not once per repeat.
    mnuEditSendKey->setAutoRepeat(false);
    mnuEdit->addSeparator()->setObjectName(QStringLiteral("mnuEditHR02"));
    mnuEditDataUpdaate =
        addCommand(mnuEdit, QStringLiteral("mnuEditDataUpdaate"), QStringLiteral("データをアップデートする(&U)..."));

    mnuView = addMenu(owner, QStringLiteral("mnuView"), QStringLiteral("表示(&V)"));
    auto *viewGroup = new QActionGroup(owner);
    viewGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);  // the command moves the mark
    mnuViewSelect[1] = addCommand(mnuView, QStringLiteral("mnuViewSelect1"), QStringLiteral("詳細(&D)"));
    mnuViewSelect[2] = addCommand(mnuView, QStringLiteral("mnuViewSelect2"), QStringLiteral("リスト(&L)"));
    for (int i = 1; i <= 2; ++i) {
        mnuViewSelect[i]->setCheckable(true);
        viewGroup->addAction(mnuViewSelect[i]);
    }
    mnuView->addSeparator()->setObjectName(QStringLiteral("mnuViewHR01"));
    mnuViewGrid = addCommand(mnuView, QStringLiteral("mnuViewGrid"), QStringLiteral("グリッド(&G)"));
    mnuViewGrid->setCheckable(true);
    mnuView->addSeparator()->setObjectName(QStringLiteral("mnuViewHR02"));
    mnuViewOpenDataFile =
        addCommand(mnuView, QStringLiteral("mnuViewOpenDataFile"), QStringLiteral("データファイルを開く(&N)"));
    mnuViewOpenDataDir =
        addCommand(mnuView, QStringLiteral("mnuViewOpenDataDir"), QStringLiteral("データボックスを開く(&M)"));

    mnuHelp = addMenu(owner, QStringLiteral("mnuHelp"), QStringLiteral("ヘルプ(&H)"));
    mnuHelpAbout =
        addCommand(mnuHelp, QStringLiteral("mnuHelpAbout"), QStringLiteral("このソフトウェアについて(&A)..."));

    // The shortcuts act whenever the window has the focus, without opening a menu.
    for (QAction *action : {mnuEditCopy, mnuEditSendKey}) {
        action->setShortcutContext(Qt::WindowShortcut);
        owner->addAction(action);
    }
}
