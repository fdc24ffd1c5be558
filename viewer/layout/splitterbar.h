#pragma once
// FrameCenterBar: the vertical bar between the two lists. It only reports the mouse,
// as button and shift masks (1 left, 2 right, 4 middle; 1 shift, 2 ctrl, 4 alt) and
// the pointer's X and Y in twips from the bar's top-left corner; the window moves it.
#include <QFrame>

class SplitterBar : public QFrame {
    Q_OBJECT
public:
    explicit SplitterBar(QWidget *parent = nullptr);

    static int shiftMask(Qt::KeyboardModifiers modifiers);

signals:
    void mouseMoved(int button, int shift, double x, double y);
    void mouseReleased(int button, int shift, double x, double y);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
