#pragma once
// The window layout: the band strip along the top with the title band's icon and
// title, the status bar along the bottom, and between them the two lists on either
// side of the splitter bar. Geometry is in twips.
#include <QtGlobal>

class QFrame;
class QLabel;
class QStatusBar;
class QTableView;
class QToolBar;
class QWidget;
class CCtrlFlavors;
class CompactMode;
class CoolBar;
class KeyListView;

class ListsLayout {
public:
    struct Controls {
        QWidget *window = nullptr;
        CoolBar *coolBar = nullptr;
        QFrame *titleBand = nullptr;
        QLabel *icon = nullptr, *title = nullptr;  // on the title band
        QToolBar *captionBar = nullptr;
        QToolBar *menuBar = nullptr;
        QToolBar *commandBar = nullptr;
        QTableView *catalogueView = nullptr;
        KeyListView *keyListView = nullptr;
        QFrame *centerBar = nullptr;
        QStatusBar *statusBar = nullptr;
    };

    ListsLayout(const Controls &controls, CompactMode &compactMode, CCtrlFlavors &flavors);

    // The start size, 6000 x 3000, with the bar at a third of the width.
    void setStartSize();
    // After any change of the window's size or state; the window stays topmost.
    void resize();
    // After a change of the band strip: the title band's contents and the band widths.
    void arrangeBands();
    // The splitter bar follows a drag with the left button and places the lists at its end.
    void barMouseMove(int button, double x);
    void barMouseUp(int button);
    double barLeft() const { return m_barLeft; }

private:
    void moveBar(double x);
    void placeLists();
    void fitBandToToolbar(int band, QToolBar *toolbar);
    void stretchBand(int band);

    Controls m_controls;
    CompactMode &m_compactMode;
    CCtrlFlavors &m_flavors;
    double m_barLeft = 0;  // splitter bar's left edge
};
