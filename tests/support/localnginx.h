#pragma once
// Debian's nginx on a free loopback port, with its configuration, pid and logs in a
// temporary folder, serving one folder. Stopped when destroyed.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class LocalNginx {
public:
    ~LocalNginx();
    // Starts serving wwwDir; false with the reason when nginx is missing or fails.
    bool start(const QString &wwwDir, QString *why);
    QString url(const QString &name) const;
    quint16 port() const { return m_port; }

private:
    QTemporaryDir m_prefix;
    QProcess m_process;
    quint16 m_port = 0;
};
