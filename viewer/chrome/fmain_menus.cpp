// FMain: the hidden menu tree, the menu-button and command bars, and the commands
// that belong to no other subsystem.
#include "main/fmain.h"

#include "catalogue/cataloguemodel.h"
#include "catalogue/keylistview.h"
#include "ftitle.h"
#include "toolbaricons.h"

#include <QAction>
#include <QActionGroup>
#include <QCursor>
#include <QMenu>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

namespace {

// Buttons are told apart by their key text, kept in the action's data.
QAction *addKeyedButton(QToolBar *bar, const QString &key, const QString &caption, const QIcon &icon,
                        const QString &toolTip)
{
    auto *action = bar->addAction(icon, caption);
    action->setData(key);
    action->setToolTip(toolTip.isEmpty() ? caption : toolTip);
    if (QWidget *button = bar->widgetForAction(action)) {
        button->setAccessibleName(toolTip.isEmpty() ? caption : toolTip);
        button->setObjectName(key);
    }
    return action;
}

QAction *addCommand(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

} // namespace

void FMain::buildMenus()
{
    // The top item "Menu" is hidden: the window shows no menu bar, only the pop-ups.
    mnuFile = new QMenu(QStringLiteral("ファイル(&F)"), this);
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileListOpen = addCommand(mnuFile, QStringLiteral("mnuFileListOpen"), QStringLiteral("リストを展開(&L)"));
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileHR01"));
    mnuFileClose = addCommand(mnuFile, QStringLiteral("mnuFileClose"), QStringLiteral("終了(&X)"));

    mnuEdit = new QMenu(QStringLiteral("編集(&V)"), this);
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuEditCopy = addCommand(mnuEdit, QStringLiteral("mnuEditCopy"), QStringLiteral("コピー(&C)"));
    mnuEditCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEditSendKey = addCommand(mnuEdit, QStringLiteral("mnuEditSendKey"), QStringLiteral("直接出力(&B)"));
    mnuEditSendKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    mnuEdit->addSeparator()->setObjectName(QStringLiteral("mnuEditHR02"));
    mnuEditDataUpdaate = addCommand(mnuEdit, QStringLiteral("mnuEditDataUpdaate"),
                                    QStringLiteral("データをアップデートする(&U)..."));

    mnuView = new QMenu(QStringLiteral("表示(&V)"), this);
    mnuView->setObjectName(QStringLiteral("mnuView"));
    auto *viewGroup = new QActionGroup(this);
    viewGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);  // the handler moves the mark
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
    mnuViewOpenDataFile = addCommand(mnuView, QStringLiteral("mnuViewOpenDataFile"), QStringLiteral("データファイルを開く(&N)"));
    mnuViewOpenDataDir = addCommand(mnuView, QStringLiteral("mnuViewOpenDataDir"), QStringLiteral("データボックスを開く(&M)"));

    mnuHelp = new QMenu(QStringLiteral("ヘルプ(&H)"), this);
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpAbout = addCommand(mnuHelp, QStringLiteral("mnuHelpAbout"), QStringLiteral("このソフトウェアについて(&A)..."));

    // The shortcuts act whenever the window has the focus, without opening a menu.
    for (QAction *action : {mnuEditCopy, mnuEditSendKey}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }

    // A checkable action toggles itself before triggered(); the handlers own the marks.
    connect(mnuFileListOpen, &QAction::triggered, this, &FMain::mnuFileListOpen_Click);
    connect(mnuFileClose, &QAction::triggered, this, &FMain::mnuFileClose_Click);
    connect(mnuEditCopy, &QAction::triggered, this, &FMain::mnuEditCopy_Click);
    connect(mnuEditSendKey, &QAction::triggered, this, &FMain::mnuEditSendKey_Click);
    connect(mnuEditDataUpdaate, &QAction::triggered, this, &FMain::mnuEditDataUpdaate_Click);
    connect(mnuViewSelect[1], &QAction::triggered, this, [this] { mnuViewSelect_Click(1); });
    connect(mnuViewSelect[2], &QAction::triggered, this, [this] { mnuViewSelect_Click(2); });
    connect(mnuViewGrid, &QAction::triggered, this, [this] {
        mnuViewGrid->setChecked(!mnuViewGrid->isChecked());  // undo the automatic toggle
        mnuViewGrid_Click();
    });
    connect(mnuViewOpenDataFile, &QAction::triggered, this, &FMain::mnuViewOpenDataFile_Click);
    connect(mnuViewOpenDataDir, &QAction::triggered, this, &FMain::mnuViewOpenDataDir_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &FMain::mnuHelpAbout_Click);

    // Toolbar2: the menu buttons, text only.
    Toolbar2->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Toolbar2->setAccessibleName(QStringLiteral("メニュー"));
    addKeyedButton(Toolbar2, QStringLiteral("File"), QStringLiteral("ファイル"), {}, {});
    addKeyedButton(Toolbar2, QStringLiteral("Edit"), QStringLiteral("編集"), {}, {});
    addKeyedButton(Toolbar2, QStringLiteral("View"), QStringLiteral("表示"), {}, {});
    addKeyedButton(Toolbar2, QStringLiteral("Help"), QStringLiteral("ヘルプ"), {}, {});
    connect(Toolbar2, &QToolBar::actionTriggered, this,
            [this](QAction *a) { Toolbar2_ButtonClick(a->data().toString()); });

    // Toolbar4: the command buttons, icons with tool tips.
    Toolbar4->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Toolbar4->setIconSize(QSize(16, 16));
    Toolbar4->setAccessibleName(QStringLiteral("コマンド"));
    addKeyedButton(Toolbar4, QStringLiteral("DataOpen"), QString(), toolbarIcon(ToolbarIcon::DataOpen), QStringLiteral("リストを展開"));
    Toolbar4->addSeparator();
    addKeyedButton(Toolbar4, QStringLiteral("ClipCopy"), QString(), toolbarIcon(ToolbarIcon::ClipCopy), QStringLiteral("コピー"));
    addKeyedButton(Toolbar4, QStringLiteral("SendKey"), QString(), toolbarIcon(ToolbarIcon::SendKey), QStringLiteral("直接出力"));
    Toolbar4->addSeparator();
    addKeyedButton(Toolbar4, QStringLiteral("UpData"), QString(), toolbarIcon(ToolbarIcon::UpData), QStringLiteral("データをアップデートする"));
    connect(Toolbar4, &QToolBar::actionTriggered, this,
            [this](QAction *a) { Toolbar4_ButtonClick(a->data().toString()); });
}

void FMain::showPopup(QMenu *menu)
{
    // No position given: the menu opens at the pointer; returns once it has closed.
    menu->exec(QCursor::pos());
}

void FMain::Toolbar2_ButtonClick(const QString &key)
{
    if (key == QLatin1String("File"))
        showPopup(mnuFile);
    else if (key == QLatin1String("Edit"))
        showPopup(mnuEdit);
    else if (key == QLatin1String("View"))
        showPopup(mnuView);
    else if (key == QLatin1String("Help"))
        showPopup(mnuHelp);
}

void FMain::Toolbar4_ButtonClick(const QString &key)
{
    if (key == QLatin1String("DataOpen"))
        mnuFileListOpen_Click();
    else if (key == QLatin1String("ClipCopy"))
        mnuEditCopy_Click();
    else if (key == QLatin1String("SendKey"))
        mnuEditSendKey_Click();
    else if (key == QLatin1String("UpData"))
        mnuEditDataUpdaate_Click();
}

void FMain::mnuViewSelect_Click(int index)
{
    for (int i = 1; i <= 2; ++i)
        mnuViewSelect[i]->setChecked(false);
    if (index == 1 || index == 2)
        mnuViewSelect[index]->setChecked(true);
    if (index == 1)
        ListView2->setView(KeyListView::DetailsView);
    else if (index == 2)
        ListView2->setView(KeyListView::ListView);
}

void FMain::mnuViewGrid_Click()
{
    mnuViewGrid->setChecked(!mnuViewGrid->isChecked());
    ListView1->setShowGrid(mnuViewGrid->isChecked());
    ListView2->setGridLines(mnuViewGrid->isChecked());
}

void FMain::mnuFileClose_Click()
{
    close();
}

void FMain::mnuHelpAbout_Click()
{
    const int row = findCatalogueRow(QStringLiteral("このソフトウェアについて"));
    if (row >= 0) {
        setCurrentCatalogueRow(row);
        ListView1_DblClick();
    }
    showAboutWindow();
}

int FMain::findCatalogueRow(const QString &name) const
{
    for (int row = 0; row < m_catalogue->count(); ++row)
        if (m_catalogue->row(row).name == name)
            return row;
    return -1;
}

void FMain::showAboutWindow()
{
    FTitle::showAbout(this, m_app);
}
