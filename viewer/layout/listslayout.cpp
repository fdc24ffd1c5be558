#include "listslayout.h"

#include "catalogue/keylistview.h"
#include "chrome/compactmode.h"
#include "coolbar.h"
#include "layoutmath.h"
#include "util/ctrlflavors.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>

using namespace layoutmath;

ListsLayout::ListsLayout(const Controls &controls, CompactMode &compactMode, CCtrlFlavors &flavors)
    : m_controls(controls), m_compactMode(compactMode), m_flavors(flavors)
{}

void ListsLayout::setStartSize()
{
    QWidget *window = m_controls.window;
    window->resize(toPixels(6000), toPixels(3000));
    m_barLeft = toTwips(window->width()) / 3;
    resize();
}

void ListsLayout::resize()
{
    QWidget *window = m_controls.window;
    if (!(window->windowState() & Qt::WindowMinimized)) {
        m_compactMode.leaveIfCaptionShows();
        // The strip runs along the top edge, the status bar along the bottom.
        m_controls.coolBar->setGeometry(0, 0, window->width(), m_controls.coolBar->stripHeightPixels());
        QStatusBar *statusBar = m_controls.statusBar;
        const int statusHeight = statusBar->sizeHint().height();
        statusBar->setGeometry(0, window->height() - statusHeight, window->width(), statusHeight);
        moveBar(0);
        placeLists();
        KeyListView *keys = m_controls.keyListView;
        keys->setColumnWidth(qMax(0, toPixels(toTwips(keys->width()) - ColumnAllowance)));
    }
    m_flavors.Form3DPosition(CCtrlFlavors::HWND_TOPMOST);
}

void ListsLayout::arrangeBands()
{
    // A square icon the height of the title band, the title beside it, centred.
    const int bandHeight = m_controls.titleBand->height();
    QLabel *icon = m_controls.icon;
    QLabel *title = m_controls.title;
    icon->setGeometry(0, 0, bandHeight, bandHeight);
    title->move(icon->width(), (bandHeight - title->height()) / 2);
    m_controls.coolBar->setBandMinWidth(1, toTwips(title->x()));
    stretchBand(1);
    fitBandToToolbar(2, m_controls.captionBar);
    fitBandToToolbar(3, m_controls.menuBar);
    fitBandToToolbar(4, m_controls.commandBar);
    stretchBand(5);
    resize();
}

void ListsLayout::fitBandToToolbar(int band, QToolBar *toolbar)
{
    double sum = 0;
    for (QAction *action : toolbar->actions())
        if (QWidget *button = toolbar->widgetForAction(action); button && action->isVisible())
            sum += toTwips(button->sizeHint().width());
    CoolBar *coolBar = m_controls.coolBar;
    coolBar->setBandWidth(band, sum);
    coolBar->setBandMinWidth(band, coolBar->bandWidth(band));
}

void ListsLayout::stretchBand(int band) { m_controls.coolBar->setBandWidth(band, m_controls.coolBar->widthTwips()); }

void ListsLayout::barMouseMove(int button, double x)
{
    if (button == LeftButton)
        moveBar(x);
}

void ListsLayout::barMouseUp(int button)
{
    if (button == LeftButton)
        placeLists();
}

void ListsLayout::moveBar(double x)
{
    QFrame *bar = m_controls.centerBar;
    bar->setBackgroundRole(QPalette::Dark);  // the button-shadow colour while it moves
    m_barLeft = dragBarLeft(m_barLeft, x, toTwips(m_controls.window->width()), BarWidth);
    bar->setGeometry(toPixelRect(m_barLeft, 0, BarWidth, toTwips(m_controls.window->height())));
}

void ListsLayout::placeLists()
{
    const qint32 top = roundHalfEven(toTwips(m_controls.coolBar->height()));
    const qint32 bottom = roundHalfEven(toTwips(m_controls.statusBar->height()));
    m_flavors.setCtrlName(m_controls.catalogueView);
    m_flavors.MaxCtrlSize(top, 0, roundHalfEven(toTwips(m_controls.window->width()) - m_barLeft), bottom);
    m_flavors.setCtrlName(m_controls.keyListView);
    m_flavors.MaxCtrlSize(top, roundHalfEven(m_barLeft + BarWidth), 0, bottom);
    m_controls.centerBar->setBackgroundRole(QPalette::Window);
}
