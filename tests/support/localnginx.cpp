#include "localnginx.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace {

quint16 freeLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

}  // namespace

LocalNginx::~LocalNginx()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }
}

bool LocalNginx::start(const QString &wwwDir, QString *why)
{
    QString nginx = QStandardPaths::findExecutable(QStringLiteral("nginx"));
    if (nginx.isEmpty())
        nginx = QStandardPaths::findExecutable(QStringLiteral("nginx"), {QStringLiteral("/usr/sbin")});
    if (nginx.isEmpty()) {
        *why = QStringLiteral("nginx is not installed (scripts/setup-deps.sh installs nginx-light)");
        return false;
    }
    const QString prefix = m_prefix.path();
    QDir(prefix).mkpath(QStringLiteral("logs"));
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_port = freeLoopbackPort();
        // One process without a master: no user switch, so it reads our temp files as we do.
        const QString config =
            QStringLiteral("daemon off; master_process off; worker_processes 1;\n"
                           "pid %1/nginx.pid; error_log %1/logs/error.log;\n"
                           "events { worker_connections 64; }\n"
                           "http {\n"
                           "  access_log off; sendfile on; default_type application/octet-stream;\n"
                           "  types { text/plain txt; }\n"
                           "  client_body_temp_path %1/body; proxy_temp_path %1/proxy; fastcgi_temp_path %1/fcgi;\n"
                           "  uwsgi_temp_path %1/uwsgi; scgi_temp_path %1/scgi;\n"
                           "  server { listen 127.0.0.1:%2; root %3; }\n"
                           "}\n")
                .arg(prefix)
                .arg(m_port)
                .arg(wwwDir);
        QFile file(prefix + QStringLiteral("/nginx.conf"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            *why = file.errorString();
            return false;
        }
        file.write(config.toUtf8());
        file.close();
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(nginx, {QStringLiteral("-p"), prefix, QStringLiteral("-c"), file.fileName(),
                                QStringLiteral("-e"), prefix + QStringLiteral("/logs/error.log")});
        if (!m_process.waitForStarted(5000)) {
            *why = m_process.errorString();
            return false;
        }
        for (int i = 0; i < 100 && m_process.state() == QProcess::Running; ++i) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, m_port);
            if (probe.waitForConnected(100))
                return true;
            QThread::msleep(50);
        }
        m_process.kill();
        m_process.waitForFinished(2000);
    }
    QFile log(prefix + QStringLiteral("/logs/error.log"));
    log.open(QIODevice::ReadOnly);
    *why = QStringLiteral("nginx did not start: ") + QString::fromLocal8Bit(log.readAll());
    return false;
}

QString LocalNginx::url(const QString &name) const
{
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_port).arg(name);
}
