// Why a request failed, in the updater's own words, for the failures that a server on
// 127.0.0.1 can bring about: nothing listening, a connection closed unanswered, no
// answer in time, and the user's own abort.
#include "httptransfer.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

enum class Server { Gone, ClosesAtOnce, Silent };

}  // namespace

Q_DECLARE_METATYPE(Server)

class TestHttpFailures : public QObject {
    Q_OBJECT
private slots:
    void failureText_data();
    void failureText();
};

void TestHttpFailures::failureText_data()
{
    QTest::addColumn<Server>("server");
    QTest::addColumn<bool>("abortAtOnce");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing listening") << Server::Gone << false << "サーバーに接続できませんでした。";
    QTest::newRow("closed unanswered") << Server::ClosesAtOnce << false << "サーバーが途中で接続を切りました。";
    QTest::newRow("no answer in time") << Server::Silent << false << "サーバーが 0.5 秒以内に応答しませんでした。";
    QTest::newRow("aborted by the user") << Server::Silent << true << "通信を中止しました。";
}

void TestHttpFailures::failureText()
{
    QFETCH(Server, server);
    QFETCH(bool, abortAtOnce);
    QFETCH(QString, expected);
    QTcpServer listener;
    QVERIFY(listener.listen(QHostAddress::LocalHost));
    const QString address = QStringLiteral("http://127.0.0.1:%1/a.txt").arg(listener.serverPort());
    if (server == Server::Gone)
        listener.close();
    QList<QTcpSocket *> held;  // a silent server keeps its connections open
    connect(&listener, &QTcpServer::newConnection, this, [&] {
        while (QTcpSocket *socket = listener.nextPendingConnection()) {
            if (server == Server::ClosesAtOnce)
                socket->close();
            else
                held.append(socket);
        }
    });

    HttpTransfer transfer;
    transfer.setTimeoutMilliseconds(500);
    QSignalSpy finished(&transfer, &HttpTransfer::headFinished);
    QCOMPARE(transfer.head(address), QString());
    if (abortAtOnce)
        transfer.abort();
    QVERIFY(!finished.isEmpty() || finished.wait(10000));
    const auto response = finished.takeFirst().at(0).value<HttpTransfer::Response>();
    QVERIFY(!response.ok);
    QCOMPARE(response.error, expected);
    QCOMPARE(response.abortedByUser, abortAtOnce);
}

QTEST_GUILESS_MAIN(TestHttpFailures)
#include "tst_httpfailures.moc"
