#pragma once
// The main window for tests: message boxes, pop-up menus and about windows are
// recorded instead of shown, so no test blocks on a modal loop.
#include "main/fmain.h"
#include "windowcontrols.h"

#include <QMenu>
#include <QStringList>

class TestWindow : public FMain {
public:
    using FMain::FMain;
    QStringList messages;
    QStringList popups;
    int aboutWindows = 0;

protected:
    void showMessage(const QString &text) override { messages.append(text); }
    void showPopup(QMenu *menu) override { popups.append(menu->objectName()); }
    void showAboutWindow() override { ++aboutWindows; }
};

// The application object of a viewer unpacked in programFolder, version 1.0.40.
inline common::AppInfo testAppInfo(const QString &programFolder)
{
    return {programFolder, QStringLiteral("tuvelv"), 1, 0, 40};
}
