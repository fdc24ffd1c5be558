#pragma once
// Starts the typing sink and reads back what it received.

#include <QProcess>
#include <QTemporaryDir>

class TypingSink {
public:
    // qpaPlatform, when given, is the Qt platform the sink runs on ("wayland").
    explicit TypingSink(const QString &qpaPlatform = QString());
    ~TypingSink();
    // Starts the sink and waits until it is the active window with the focus.
    bool start(QString *why);
    QString text() const;
    // Polls until the sink holds exactly expected; returns the last text seen.
    QString waitForText(const QString &expected, int timeoutMs) const;

private:
    QString qpaPlatform;
    QTemporaryDir dir;
    QProcess process;
    QString outputPath() const;
};
