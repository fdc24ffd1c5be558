#pragma once
// The updater's HTTP client: a HEAD request for the check, downloads that stream to
// a temporary file beside the target and replace it only when they arrived whole,
// and fetching a whole document into memory for viewing. One request at a time.

#include "updatecheck.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QSaveFile>
#include <QString>
#include <memory>

class QNetworkReply;

class HttpTransfer : public QObject {
    Q_OBJECT
public:
    struct Response {
        bool ok = false;
        QString error;               // why it failed, in Japanese; empty when ok
        bool abortedByUser = false;  // stopped by abort(), not by a fault
        int statusCode = 0;
        QString reason;
        updatecheck::HeaderList headers;
        QString header(const QString &name) const { return updatecheck::headerValue(headers, name); }
    };

    explicit HttpTransfer(QObject *parent = nullptr);
    ~HttpTransfer() override;

    void setTimeoutMilliseconds(int milliseconds) { m_timeoutMs = milliseconds; }
    int timeoutMilliseconds() const { return m_timeoutMs; }
    void setMaximumRedirects(int count) { m_maximumRedirects = count; }

    bool busy() const { return !m_reply.isNull(); }
    bool downloading() const { return m_kind == Kind::Download && busy(); }

    // Each returns the empty text when the request started, otherwise why it did
    // not; then nothing was sent and no signal follows.
    QString head(const QString &address);
    QString download(const QString &address, const QString &targetPath);
    // With maxBytes, a longer document is cut: its first maxBytes arrive, the rest is
    // never read, and the fetch counts as complete.
    QString fetch(const QString &address, qint64 maxBytes = -1);
    // Stops the running request; a download leaves its target untouched.
    void abort();

    // Status line and headers of the last response that arrived.
    const Response &lastResponse() const { return m_last; }

    // Why an address cannot be requested; empty when it can.
    static QString addressProblem(const QString &address);

signals:
    void headFinished(const HttpTransfer::Response &response);
    void downloadProgress(qint64 received, qint64 total);
    void downloadFinished(const HttpTransfer::Response &response, qint64 bytesWritten);
    void fetchFinished(const HttpTransfer::Response &response, const QByteArray &body);

private:
    enum class Kind { None, Head, Download, Fetch };
    QString start(Kind kind, const QString &address);
    void onReadyRead();
    void onFinished();
    bool statusRefused();
    Response responseOf(QNetworkReply *reply) const;
    QString failureText(QNetworkReply *reply) const;

    QNetworkAccessManager m_manager;
    QPointer<QNetworkReply> m_reply;
    Kind m_kind = Kind::None;
    int m_timeoutMs = 60000;
    int m_maximumRedirects = 10;
    bool m_userAborted = false;
    QString m_refusal;  // set when the body is refused (non-2xx, write failure)
    std::unique_ptr<QSaveFile> m_target;
    qint64 m_written = 0;
    QByteArray m_body;
    qint64 m_fetchLimit = -1;
    bool m_fetchCut = false;
    QByteArray m_chunk;
    qint64 m_announced = -2;  // Content-Length of the download; -1 none, -2 not read yet
    static constexpr qint64 ReadBufferBytes = 256 * 1024;
    Response m_last;
};
