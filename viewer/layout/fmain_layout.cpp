// FMain: the window layout and the splitter bar.
#include "main/fmain.h"

#include "catalogue/keylistview.h"
#include "layout/coolbar.h"
#include "layout/layoutmath.h"
#include "util/ctrlflavors.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>

using namespace layoutmath;

void FMain::Form_Resize()
{
    if (!m_coolBar || !StatusBar1)
        return;  // still being built
    if (!(windowState() & Qt::WindowMinimized)) {
        // Restored while compact mode shows its caption: compact mode ends here. (The
        // timer alone does not count: state echoes from the window manager arrive
        // while the window is being minimized.)
        if (!windowTitle().isEmpty())
            SetCompactMode(false);
        // The strip runs along the top edge, the status bar along the bottom.
        CoolBar1->setGeometry(0, 0, width(), m_coolBar->stripHeightPixels());
        const int statusHeight = StatusBar1->sizeHint().height();
        StatusBar1->setGeometry(0, height() - statusHeight, width(), statusHeight);
        FrameCenterBar_MouseMove(LeftButton, 0, 0, 0);
        FrameCenterBar_MouseUp(LeftButton, 0, 0, 0);
        FitLastColumn(ListView2, ColumnAllowance);
    }
    ctrlFlavors()->Form3DPosition(CCtrlFlavors::HWND_TOPMOST);
}

void FMain::ArrangeBands()
{
    // A square icon the height of the title band, the title beside it, centred.
    const int bandHeight = Frame2->height();
    Image1->setGeometry(0, 0, bandHeight, bandHeight);
    Label1->move(Image1->width(), (bandHeight - Label1->height()) / 2);
    m_coolBar->setBandMinWidth(1, toTwips(Label1->x()));
    StretchBand(m_coolBar, 1);
    FitBandToToolbar(2, Toolbar3, 0);
    FitBandToToolbar(3, Toolbar2, 0);
    FitBandToToolbar(4, Toolbar4, 0);
    StretchBand(m_coolBar, 5);
    Form_Resize();
}

void FMain::FitBandToToolbar(int band, QToolBar *toolbar, double extra)
{
    double sum = 0;
    for (QAction *action : toolbar->actions())
        if (QWidget *button = toolbar->widgetForAction(action); button && action->isVisible())
            sum += toTwips(button->sizeHint().width());
    m_coolBar->setBandWidth(band, sum + extra);
    m_coolBar->setBandMinWidth(band, m_coolBar->bandWidth(band));
}

void FMain::StretchBand(CoolBar *coolBar, int index)
{
    coolBar->setBandWidth(index, coolBar->widthTwips());
}

void FMain::FitLastColumn(KeyListView *listView, double allowance)
{
    listView->setColumnWidth(qMax(0, toPixels(toTwips(listView->width()) - allowance)));
}

void FMain::FrameCenterBar_MouseMove(int button, int, double x, double)
{
    if (button != LeftButton)
        return;
    FrameCenterBar->setBackgroundRole(QPalette::Dark);  // the button-shadow colour
    m_barLeft = dragBarLeft(m_barLeft, x, toTwips(width()), BarWidth);
    FrameCenterBar->setGeometry(toPixelRect(m_barLeft, 0, BarWidth, toTwips(height())));
}

void FMain::FrameCenterBar_MouseUp(int button, int, double, double)
{
    if (button != LeftButton)
        return;
    CCtrlFlavors *flavors = ctrlFlavors();
    const qint32 top = roundHalfEven(toTwips(CoolBar1->height()));
    const qint32 bottom = roundHalfEven(toTwips(StatusBar1->height()));
    flavors->setCtrlName(ListView1);
    flavors->MaxCtrlSize(top, 0, roundHalfEven(toTwips(width()) - m_barLeft), bottom);
    flavors->setCtrlName(ListView2);
    flavors->MaxCtrlSize(top, roundHalfEven(m_barLeft + BarWidth), 0, bottom);
    FrameCenterBar->setBackgroundRole(QPalette::Window);
}
