// FMain: the window layout and the splitter bar.
#include "main/fmain.h"

#include "catalogue/keylistview.h"

#include <QStatusBar>
#include <QTableView>

void FMain::Form_Resize()
{
    if (!CoolBar1)
        return;
    const int w = width();
    const int h = height();
    const int barHeight = CoolBar1->sizeHint().height();
    CoolBar1->setGeometry(0, 0, w, barHeight);
    const int statusHeight = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, h - statusHeight, w, statusHeight);
    const int bar = int(m_barLeft / 15);
    const int listHeight = qMax(1, h - barHeight - statusHeight);
    FrameCenterBar->setGeometry(bar, 0, 50 / 15, h);
    ListView1->setGeometry(0, barHeight, bar, listHeight);
    ListView2->setGeometry(bar + 50 / 15, barHeight, qMax(0, w - bar - 50 / 15), listHeight);
}

void FMain::ArrangeBands() {}

void FMain::FrameCenterBar_MouseMove(int, int, double, double) {}

void FMain::FrameCenterBar_MouseUp(int, int, double, double) {}
