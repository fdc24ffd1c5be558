#include "updatesession.h"

#include "filecopy.h"
#include "updatecheck.h"
#include "fileattributes.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalBlocker>

namespace kox {

UpdateSession::UpdateSession(QObject *parent)
    : QObject(parent), m_localDate(updatecheck::zeroDateTime()), m_remoteDate(updatecheck::zeroDateTime())
{
    connect(&m_inet, &HttpTransfer::headFinished, this, &UpdateSession::CheckArrived);
    connect(&m_inet, &HttpTransfer::downloadProgress, this, &UpdateSession::downloadProgress);
    connect(&m_inet, &HttpTransfer::downloadFinished, this, &UpdateSession::DownloadArrived);
    connect(&m_inet, &HttpTransfer::fetchFinished, this, &UpdateSession::FetchArrived);
}

UpdateSession::~UpdateSession() { m_inet.disconnect(this); }

Result UpdateSession::Refresh()
{
    if (busy())
        return {Outcome::Busy};
    emit stageChanged(Stage::Checking);
    const QString refused = m_inet.head(m_webFilePath);
    if (!refused.isEmpty())
        return {Outcome::Refused, refused};
    return {Outcome::Started};
}

Result UpdateSession::failureOf(const HttpTransfer::Response &response)
{
    // A status line means the server answered, with an error page.
    return {response.statusCode != 0 ? Outcome::HttpError : Outcome::NoAnswer, response.error};
}

void UpdateSession::CheckArrived(const HttpTransfer::Response &response)
{
    if (!response.ok) {
        emit checked(failureOf(response));
        return;
    }
    const QString contentLength = response.header(QStringLiteral("Content-length"));
    if (contentLength.isEmpty()) {
        emit checked({Outcome::NoLength});
        return;
    }
    if (platform::FileExists(m_localFilePath).exists) {
        const QFileInfo local(m_localFilePath);
        m_localDate = updatecheck::wallClock(local.lastModified());
        m_localSize = local.size();
    }
    m_remoteSize = updatecheck::ReadContentLength(contentLength);
    const auto lastModified = updatecheck::ParseLastModified(response.header(QStringLiteral("Last-modified")));
    Result result;
    // The nine hours can still carry a date at the very end of the range out of it.
    if (!lastModified || !updatecheck::remoteDateOf(*lastModified).isValid()) {
        result.outcome = Outcome::DateUnknown;
    } else {
        m_remoteDate = updatecheck::remoteDateOf(*lastModified);
        result.days = updatecheck::calendarDays(m_localDate, m_remoteDate);
        result.outcome = result.days < 1 ? Outcome::UpToDate : Outcome::UpdateNeeded;
    }
    emit checked(result);
    if (m_justUpdated)
        FinalCheck();
}

void UpdateSession::FinalCheck()
{
    Result result{Outcome::Done};
    if (m_localSize != m_remoteSize)
        result.outcome = Outcome::SizeMismatch;
    else if (!m_deleteBackup)
        result.outcome = Outcome::Done;
    else if (QFile::remove(m_backupFilePath))
        result.outcome = Outcome::BackupDeleted;
    else if (!QFileInfo::exists(m_backupFilePath))
        result.outcome = Outcome::BackupMissing;
    else
        result.outcome = Outcome::BackupNotDeleted;
    emit updated(result);
    m_justUpdated = false;
}

QString UpdateSession::RestoreBackup() { return copyFileOver(m_backupFilePath, m_localFilePath); }

Result UpdateSession::Update()
{
    if (busy())
        return {Outcome::Busy};
    emit stageChanged(Stage::Updating);
    emit logged(QStringLiteral("アップデートプロセスを開始します..."));
    emit logged(QStringLiteral("ファイルのアップデートを行います。"));
    emit logged(QStringLiteral("バックアップファイル名は："));
    m_backupFilePath = m_localFilePath + QStringLiteral(".bak");
    emit logged(m_backupFilePath);
    // Checked before the backup, so that a file we may not write leaves no stray .bak.
    // The attribute is what the user set; the second test also catches a file that
    // is locked against writing in other ways (for example immutable).
    const platform::FileAttributes local = platform::FileExists(m_localFilePath);
    const bool readOnly =
        local.exists && ((local.attributes & platform::AttrReadOnly) || !QFileInfo(m_localFilePath).isWritable());
    if (local.isDirectory() || readOnly)
        return {Outcome::NotWritable};
    emit logged(QStringLiteral("バックアップ中..."));
    if (local.exists) {
        const QString failed = copyFileOver(m_localFilePath, m_backupFilePath);
        if (!failed.isEmpty())
            return {Outcome::BackupFailed, failed};
        emit logged(QStringLiteral("バックアップは終了しました。"));
    } else {
        emit logged(QStringLiteral("ローカルファイルがないため、バックアップは作成しませんでした。"));
    }
    emit logged(QStringLiteral("アップデートプロセス中です..."));
    const QString refused = m_inet.download(m_webFilePath, m_localFilePath);
    if (!refused.isEmpty())
        return {Outcome::Refused, refused};
    return {Outcome::Started};
}

void UpdateSession::DownloadArrived(const HttpTransfer::Response &response)
{
    if (!response.ok) {
        emit updated({response.abortedByUser ? Outcome::Aborted : Outcome::DownloadFailed, response.error});
        return;
    }
    emit logged(QStringLiteral("アップデートプロセスは終了しました。"));
    m_justUpdated = true;
    // The final check: the new file's size against what the server announces now.
    const Result started = Refresh();
    if (started.outcome != Outcome::Started)
        emit checked(started);
    else
        emit stageChanged(Stage::FinalCheck);
}

Result UpdateSession::FetchNewFile(qint64 maxBytes)
{
    if (busy())
        return {Outcome::Busy};
    const QString refused = m_inet.fetch(m_webFilePath, maxBytes);
    if (!refused.isEmpty())
        return {Outcome::Refused, refused};
    return {Outcome::Started};
}

void UpdateSession::FetchArrived(const HttpTransfer::Response &response, const QByteArray &body)
{
    if (!response.ok)
        emit fetched(failureOf(response), body);
    else
        emit fetched({Outcome::Fetched}, body);
}

void UpdateSession::stop()
{
    const QSignalBlocker quiet(m_inet);
    m_inet.abort();
}

}  // namespace kox
