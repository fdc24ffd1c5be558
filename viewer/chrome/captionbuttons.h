#pragma once
// Toolbar3: the window's own caption buttons, told apart by their index, each
// showing one of the caption pictures and running the command bound to it.
#include "resources/pictures.h"

#include <functional>
#include <map>

class QAction;
class QToolBar;
class QWidget;

enum class CaptionButton { Minimize = 1, Maximize = 2, Close = 3 };

class CaptionButtons {
public:
    CaptionButtons(QToolBar *toolbar, QWidget *window);

    void bind(CaptionButton button, std::function<void()> command);
    // Runs the command bound to the button.
    void press(CaptionButton button) const;
    QAction *action(CaptionButton button) const;
    CaptionPicture picture(CaptionButton button) const;
    void setPicture(CaptionButton button, CaptionPicture picture);
    // Maximizes the window or restores it, and shows the picture for the way back.
    void toggleMaximized();

private:
    QToolBar *m_toolbar;
    QWidget *m_window;
    std::map<CaptionButton, std::function<void()>> m_commands;
};
