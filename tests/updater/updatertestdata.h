#pragma once
// What the updater window tests share: the old and new data file contents, canned
// server replies, file helpers and a fixture with a fresh data file per test.

#include "testablefmain.h"
#include "testserver.h"
#include "platform/fake/fakeservices.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

inline const QByteArray OldBody = "old list\r\ndescription\r\nhttp://x/\r\nkey\r\n";
inline const QByteArray LastModified = "Sun, 01 Mar 2026 15:01:00 GMT";

inline QByteArray newBody()
{
    QByteArray body;
    for (int i = 0; body.size() < 200000; ++i)
        body += "key line " + QByteArray::number(i) + "\r\n";
    return body;
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

inline void setModified(const QString &path, const QDateTime &when)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
}

inline CannedReply ok(const QByteArray &body)
{
    CannedReply reply;
    reply.body = body;
    reply.lastModified = LastModified;
    return reply;
}

inline CannedReply withStatus(int status, const QByteArray &reason)
{
    CannedReply reply;
    reply.status = status;
    reply.reason = reason;
    reply.body = "<html>" + reason + "</html>";
    reply.lastModified = LastModified;
    return reply;
}

inline bool runs(const QString &program, const QStringList &arguments)
{
    return QProcess::execute(program, arguments) == 0;
}

class UpdaterFixture : public QObject {
protected:
    // A fresh folder with the old data file, its name with a blank and Japanese.
    void prepareDataFile()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_local = m_dir->filePath(QStringLiteral("リスト a.txt"));
        writeFile(m_local, OldBody);
    }
    std::unique_ptr<TestableFMain> window(int timeoutMs = 1500)
    {
        auto w = std::make_unique<TestableFMain>(m_fakes.services());
        w->Inet1().setTimeoutMilliseconds(timeoutMs);
        return w;
    }
    void waitIdle(TestableFMain &w)
    {
        QTRY_VERIFY_WITH_TIMEOUT(!w.Inet1().busy(), 15000);
    }

    platform::fake::FakeServiceSet m_fakes;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_local;
};
