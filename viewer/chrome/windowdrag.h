#pragma once
// Dragging the window by its title band. Presses and double-clicks on the band's
// parts go to the commands given for each part; a press of the left button moves
// the window (by the window manager where it takes drags) until the button is
// released, and the window is then pulled back inside the desktop.
#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <functional>
#include <map>

class QWidget;

class WindowDrag : public QObject {
public:
    // With systemMove, a drag is handed to the window manager (where it takes it).
    WindowDrag(QWidget *window, bool systemMove, std::function<void()> pullInside);

    // mouseDown gets the button as a mask: 1 left, 2 right, 4 middle.
    void watch(QWidget *part, std::function<void(int)> mouseDown, std::function<void()> doubleClick);
    // A press on the title band: the left button starts a drag.
    void press(int button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum State { Idle, SystemMove, ManualMove };
    struct Part {
        std::function<void(int)> mouseDown;
        std::function<void()> doubleClick;
    };

    void follow(State state);
    void dragEnded();

    QWidget *m_window;
    bool m_systemMove;
    std::function<void()> m_pullInside;
    std::map<QObject *, Part> m_parts;
    State m_state = Idle;
    QPoint m_grabOffset;
    bool m_pressed = false;  // inside a press command
    QPoint m_pressGlobal;
    QElapsedTimer m_settle;
};
