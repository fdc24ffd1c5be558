#include "httptransfer.h"

#include "codetext.h"
#include "fileerrortext.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <cerrno>

HttpTransfer::HttpTransfer(QObject *parent) : QObject(parent) {}

HttpTransfer::~HttpTransfer()
{
    // Whoever listened may be half gone by now; a running download is dropped silently.
    blockSignals(true);
    abort();
}

QString HttpTransfer::addressProblem(const QString &address)
{
    if (address.trimmed().isEmpty())
        return QStringLiteral("ウェブファイルパスが指定されていません。");
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (scheme != u"http" && scheme != u"https")
        return QStringLiteral("ウェブファイルパス「%1」は http または https のアドレスではありません。").arg(address);
    if (!url.isValid() || url.host().isEmpty())
        return QStringLiteral("ウェブファイルパス「%1」はアドレスとして正しくありません。").arg(address);
    return {};
}

QString HttpTransfer::head(const QString &address) { return start(Kind::Head, address); }

QString HttpTransfer::fetch(const QString &address, qint64 maxBytes)
{
    const QString refused = start(Kind::Fetch, address);
    if (refused.isEmpty())
        m_fetchLimit = maxBytes;
    return refused;
}

QString HttpTransfer::download(const QString &address, const QString &targetPath)
{
    if (busy())
        return QStringLiteral("ただいま通信中です。終わってから、もう一度お試しください。");
    const QString problem = addressProblem(address);
    if (!problem.isEmpty())
        return problem;
    // The new content goes to a temporary file in the same folder and replaces the
    // target only on commit, so a failure never leaves a half-written file.
    auto target = std::make_unique<QSaveFile>(targetPath);
    errno = 0;
    if (!target->open(QIODevice::WriteOnly))
        return QStringLiteral("ローカルファイルを書き込めません（%1）。").arg(fileErrorText(*target, errno));
    m_target = std::move(target);
    m_written = 0;
    return start(Kind::Download, address);
}

QString HttpTransfer::start(Kind kind, const QString &address)
{
    auto refuse = [this](const QString &why) {
        if (m_target && !busy()) {
            m_target->cancelWriting();
            m_target.reset();
        }
        return why;
    };
    if (busy())
        return refuse(QStringLiteral("ただいま通信中です。終わってから、もう一度お試しください。"));
    const QString problem = addressProblem(address);
    if (!problem.isEmpty())
        return refuse(problem);

    QNetworkRequest request(QUrl(address, QUrl::StrictMode));
    request.setTransferTimeout(m_timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(m_maximumRedirects);
    // Compressed bodies would make the announced length differ from what is written.
    request.setRawHeader("Accept-Encoding", "identity");

    m_kind = kind;
    m_userAborted = false;
    m_refusal.clear();
    m_body.clear();
    m_fetchLimit = -1;
    m_fetchCut = false;
    m_announced = -2;
    m_reply = kind == Kind::Head ? m_manager.head(request) : m_manager.get(request);
    if (kind != Kind::Head)
        m_reply->setReadBufferSize(ReadBufferBytes);  // bounds memory whatever the file size
    connect(m_reply, &QNetworkReply::readyRead, this, &HttpTransfer::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &HttpTransfer::onFinished);
    return {};
}

void HttpTransfer::abort()
{
    if (!busy())
        return;
    m_userAborted = true;
    m_reply->abort();  // finished() follows at once
}

bool HttpTransfer::statusRefused()
{
    if (!m_refusal.isEmpty())
        return true;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 200 && status < 300)
        return false;
    const QString reason = m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    m_refusal = QStringLiteral("サーバーがエラーを返しました（%1 %2）。").arg(status).arg(reason);
    return true;
}

void HttpTransfer::onReadyRead()
{
    if (!m_reply)
        return;
    if (statusRefused()) {
        m_reply->readAll();
        return;
    }
    if (m_kind != Kind::Download || !m_target) {
        if (m_fetchLimit < 0) {
            m_body += m_reply->readAll();
            return;
        }
        m_body += m_reply->read(m_fetchLimit - m_body.size());
        if (m_body.size() >= m_fetchLimit) {
            m_fetchCut = true;
            m_reply->abort();  // the rest is not wanted; finished() follows at once
        }
        return;
    }
    // One reused buffer: no allocation per chunk.
    if (m_chunk.isEmpty())
        m_chunk.resize(ReadBufferBytes);
    qint64 got = 0;
    while ((got = m_reply->read(m_chunk.data(), m_chunk.size())) > 0) {
        errno = 0;
        if (m_target->write(m_chunk.constData(), got) != got) {
            m_refusal = QStringLiteral("ローカルファイルを書き込めません（%1）。").arg(fileErrorText(*m_target, errno));
            m_reply->abort();
            return;
        }
        m_written += got;
    }
    if (m_announced < -1) {
        bool announced = false;
        m_announced = m_reply->rawHeader("Content-Length").toLongLong(&announced);
        if (!announced)
            m_announced = -1;
    }
    emit downloadProgress(m_written, m_announced);
}

HttpTransfer::Response HttpTransfer::responseOf(QNetworkReply *reply) const
{
    Response response;
    response.statusCode = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    response.reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    response.headers = reply->rawHeaderPairs();
    return response;
}

QString HttpTransfer::failureText(QNetworkReply *reply) const
{
    static constexpr common::CodeText<QNetworkReply::NetworkError> Failures[] = {
        {QNetworkReply::TooManyRedirectsError, u"転送（リダイレクト）が多すぎるため、中止しました。"},
        {QNetworkReply::InsecureRedirectError, u"安全でないアドレスへの転送（リダイレクト）を拒否しました。"},
        {QNetworkReply::ConnectionRefusedError, u"サーバーに接続できませんでした。"},
        {QNetworkReply::HostNotFoundError, u"サーバーが見つかりませんでした。"},
        {QNetworkReply::RemoteHostClosedError, u"サーバーが途中で接続を切りました。"},
    };
    const QNetworkReply::NetworkError error = reply->error();
    if (error == QNetworkReply::OperationCanceledError && m_userAborted)
        return QStringLiteral("通信を中止しました。");
    // A transfer that timed out ends as cancelled too.
    if (error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError)
        return QStringLiteral("サーバーが %1 秒以内に応答しませんでした。").arg(m_timeoutMs / 1000.0);
    return common::textOf(Failures, error, QStringLiteral("通信に失敗しました（%1）。").arg(reply->errorString()));
}

void HttpTransfer::onFinished()
{
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    if (reply->error() == QNetworkReply::NoError && reply->bytesAvailable() > 0)
        onReadyRead();
    const Kind kind = m_kind;
    Response response = responseOf(reply);
    const bool gotResponse = response.statusCode != 0;
    if (gotResponse)
        m_last = response;

    const QNetworkReply::NetworkError error = reply->error();
    const bool transferStopped = error == QNetworkReply::TooManyRedirectsError ||
                                 error == QNetworkReply::InsecureRedirectError ||
                                 error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError;
    if (m_fetchCut) {
        // Cut on purpose after the bytes asked for: complete as far as wanted.
    } else if (!m_refusal.isEmpty()) {
        response.error = m_refusal;
    } else if (transferStopped) {
        response.error = failureText(reply);
        response.abortedByUser = m_userAborted && error == QNetworkReply::OperationCanceledError;
    } else if (gotResponse && statusRefused()) {
        response.error = m_refusal;
    } else if (error != QNetworkReply::NoError) {
        response.error = failureText(reply);
    } else if (kind != Kind::Head) {
        // A body that differs from its announced length is incomplete.
        bool announced = false;
        const qint64 length = response.header(QStringLiteral("Content-Length")).toLongLong(&announced);
        const qint64 got = kind == Kind::Download ? m_written : m_body.size();
        if (announced && got != length)
            response.error =
                QStringLiteral("受信したデータの大きさ（%1 バイト）が、サーバーの示す大きさ（%2 バイト）と違います。")
                    .arg(got)
                    .arg(length);
    }
    response.ok = response.error.isEmpty();

    qint64 written = 0;
    if (kind == Kind::Download && m_target) {
        errno = 0;
        if (response.ok && !m_target->commit()) {
            response.ok = false;
            response.error =
                QStringLiteral("ローカルファイルを置き換えられません（%1）。").arg(fileErrorText(*m_target, errno));
        } else if (!response.ok) {
            m_target->cancelWriting();
        }
        written = response.ok ? m_written : 0;
        m_target.reset();
    }
    const QByteArray body = response.ok ? m_body : QByteArray();
    m_body.clear();
    m_reply = nullptr;
    m_kind = Kind::None;
    reply->deleteLater();

    switch (kind) {
    case Kind::Head: emit headFinished(response); break;
    case Kind::Download: emit downloadFinished(response, written); break;
    case Kind::Fetch: emit fetchFinished(response, body); break;
    case Kind::None: break;
    }
}
