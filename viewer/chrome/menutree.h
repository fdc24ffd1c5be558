#pragma once
// The hidden menu tree: no menu bar is shown, only the four pop-ups, opened from
// Toolbar2. Every menu and item is named as the window's code knows it.
class QAction;
class QMenu;
class QWidget;

struct MenuTree {
    explicit MenuTree(QWidget *owner);

    QMenu *mnuFile = nullptr;
    QMenu *mnuEdit = nullptr;
    QMenu *mnuView = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuFileListOpen = nullptr;
    QAction *mnuFileClose = nullptr;
    QAction *mnuEditCopy = nullptr;
    QAction *mnuEditSendKey = nullptr;
    QAction *mnuEditDataUpdaate = nullptr;
    QAction *mnuViewSelect[3] = {nullptr, nullptr, nullptr};  // indexes 1 and 2
    QAction *mnuViewGrid = nullptr;
    QAction *mnuViewOpenDataFile = nullptr;
    QAction *mnuViewOpenDataDir = nullptr;
    QAction *mnuHelpAbout = nullptr;
};
