#pragma once
// The title window: a 320 x 240 picture with the version, used as the start-up
// splash (counts down 3-2-1 and closes) and as the about window (waits for a click).
// It is owned by the window that opens it, so it stays above it and closes with it.
#include "appinfo.h"

#include <QWidget>

class QLabel;
class QTimer;

class FTitle : public QWidget {
    Q_OBJECT
public:
    FTitle(QWidget *owner, const common::AppInfo &app);

    // Splash: counting down from "3".
    static FTitle *showSplash(QWidget *owner, const common::AppInfo &app);
    // About: no countdown, blank countdown label; only a click closes it.
    static FTitle *showAbout(QWidget *owner, const common::AppInfo &app);

    // "version M.m.(r)"
    static QString versionText(const common::AppInfo &app);
    // The number a text starts with (blanks, sign, digits, a decimal point); 0 if none.
    static double leadingNumber(const QString &text);

    void Form_Load();
    void Timer1_Timer();
    void Form_Click();

    QTimer *Timer1 = nullptr;
    QLabel *Label3 = nullptr;  // countdown
    QLabel *Label2 = nullptr;  // version

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    common::AppInfo m_app;
    bool m_pressedOnPicture = false;
};
