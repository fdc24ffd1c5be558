// FMain: caption buttons, compact mode, dragging by the title band, idle clock.
#include "main/fmain.h"

void FMain::Toolbar3_ButtonClick(int) {}

void FMain::SetCompactMode(bool) {}

void FMain::Frame2_DblClick() {}

void FMain::Image1_DblClick()
{
    Frame2_DblClick();
}

void FMain::Label1_DblClick()
{
    Frame2_DblClick();
}

void FMain::Frame2_MouseDown(int) {}

void FMain::Image1_MouseDown(int button)
{
    Frame2_MouseDown(button);
}

void FMain::Label1_MouseDown(int button)
{
    Frame2_MouseDown(button);
}

void FMain::Timer1_Timer() {}

QString FMain::NextSleepFrame()
{
    return {};
}
