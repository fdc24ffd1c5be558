#pragma once
// Dragging the window by its title band. Presses and double-clicks on the band's
// parts go to the commands given for each part; a press of the left button moves
// the window (by the system where it can) until the button is released, and the
// window is then pulled back inside the desktop.
#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <functional>
#include <map>

class QWidget;

class WindowDrag : public QObject {
public:
    WindowDrag(QWidget *window, std::function<void()> pullInside);

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
    std::function<void()> m_pullInside;
    std::map<QObject *, Part> m_parts;
    State m_state = Idle;
    QPoint m_grabOffset;
    bool m_pressed = false;  // inside a press command
    QPoint m_pressGlobal;
    QElapsedTimer m_settle;
};
