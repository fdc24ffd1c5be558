#pragma once
// The main window's controls found by their names, as assistive tools and the
// desktop see them, and its commands run through its menu items and buttons.
#include "catalogue/cataloguelist.h"
#include "catalogue/catalogueview.h"
#include "catalogue/keylistmodel.h"
#include "catalogue/keylistpane.h"
#include "catalogue/keylistview.h"
#include "catalogue/datacommands.h"
#include "chrome/commandbar.h"
#include "chrome/compactmode.h"
#include "layout/coolbar.h"
#include "layout/listslayout.h"
#include "output/keyoutput.h"
#include "main/fmain.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

template <typename T>
T *control(const FMain &window, const char *name)
{
    T *found = window.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

inline CatalogueView *listView1(const FMain &w) { return control<CatalogueView>(w, "ListView1"); }
inline KeyListView *listView2(const FMain &w) { return control<KeyListView>(w, "ListView2"); }
inline QComboBox *combo1(const FMain &w) { return control<QComboBox>(w, "Combo1"); }
inline CoolBar *coolBar1(const FMain &w) { return control<CoolBar>(w, "CoolBar1"); }
inline QFrame *frame2(const FMain &w) { return control<QFrame>(w, "Frame2"); }
inline QLabel *image1(const FMain &w) { return control<QLabel>(w, "Image1"); }
inline QLabel *label1(const FMain &w) { return control<QLabel>(w, "Label1"); }
inline QToolBar *toolbar3(const FMain &w) { return control<QToolBar>(w, "Toolbar3"); }
inline QFrame *frameCenterBar(const FMain &w) { return control<QFrame>(w, "FrameCenterBar"); }
inline QStatusBar *statusBar1(const FMain &w) { return control<QStatusBar>(w, "StatusBar1"); }
inline QTimer *timer1(const FMain &w) { return control<QTimer>(w, "Timer1"); }
inline QString announced(const FMain &w) { return control<QLabel>(w, "Announcer")->text(); }

inline CatalogueModel *catalogueModel(const FMain &w) { return w.catalogue()->model(); }
inline KeyListModel *keyListModel(const FMain &w) { return w.keyList()->model(); }
inline int currentCatalogueRow(const FMain &w) { return w.catalogue()->currentRow(); }
inline void setCurrentCatalogueRow(const FMain &w, int row) { w.catalogue()->setCurrentRow(row); }

// A status bar panel by its key: "list", "key", "date", "comment".
inline QLabel *panel(const FMain &w, const QString &key) { return statusBar1(w)->findChild<QLabel *>(key); }
inline QString panelText(const FMain &w, const QString &key) { return panel(w, key)->text(); }
inline QString panelToolTip(const FMain &w, const QString &key) { return panel(w, key)->toolTip(); }

// A menu item chosen, by its name.
inline void chooseMenuItem(const FMain &w, const char *menuItem) { control<QAction>(w, menuItem)->trigger(); }
// A toolbar button pressed, by its key.
inline void pressButton(const FMain &w, const char *toolbar, const QString &key)
{
    for (QAction *action : control<QToolBar>(w, toolbar)->actions())
        if (!action->isSeparator() && action->data().toString() == key)
            return action->trigger();
    qFatal("no button %s on %s", qPrintable(key), toolbar);
}
inline void pressCaptionButton(const FMain &w, CaptionButton button)
{
    toolbar3(w)->actions().at(int(button) - 1)->trigger();
}
// Double-clicks as the lists report them.
inline void doubleClickCatalogue(const FMain &w) { emit listView1(w)->listDoubleClicked(); }
inline void doubleClickKey(const FMain &w) { emit listView2(w)->doubleClicked(); }
