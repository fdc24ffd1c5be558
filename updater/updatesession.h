#pragma once
// One run of the updater against one data file: the check of the remote file's
// headers against the local file, and the update that backs the local file up,
// downloads the new one in its place and checks the size it ends up with.
// QtCore and QtNetwork only; the window shows what the session reports.

#include "httptransfer.h"

#include <QDateTime>
#include <QObject>
#include <QString>

namespace kox {

// What an operation or a finished request came to.
enum class Outcome {
    Started,  // a request is running; its outcome follows as a signal
    Busy,     // another request is still running; nothing was started
    Refused,  // the address cannot be requested (detail); nothing was sent
    // The check.
    UpdateNeeded,  // the remote file is at least one calendar day newer
    UpToDate,
    DateUnknown,  // no usable Last-modified: no verdict
    NoLength,     // no Content-length: the address names no data file
    HttpError,    // the server answered with an error status (detail)
    NoAnswer,     // no answer: time-out, no connection, redirect loop (detail)
    // The update.
    NotWritable,       // the local file is read-only or a folder; nothing was touched
    BackupFailed,      // the backup could not be made (detail); nothing was downloaded
    DownloadFailed,    // the download failed (detail); the local file is as it was
    Aborted,           // the user stopped the download; the local file is as it was
    Done,              // the written file has the announced size; the backup stays
    BackupDeleted,     // as Done, and the backup was deleted as asked
    BackupMissing,     // as Done, but the backup to delete was not there
    BackupNotDeleted,  // as Done, but the backup could not be deleted
    SizeMismatch,      // the written file differs from the announced size
    Fetched,           // the new file's text arrived for viewing
};

struct Result {
    Result(Outcome what = Outcome::Started, const QString &why = QString()) : outcome(what), detail(why) {}
    Outcome outcome;
    QString detail;   // why, for failures; in Japanese
    qint64 days = 0;  // calendar days the remote file is newer, for a dated check
};

class UpdateSession : public QObject {
    Q_OBJECT
public:
    // What the session is doing now, for the status line.
    enum class Stage { Checking, Updating, FinalCheck };

    explicit UpdateSession(QObject *parent = nullptr);
    ~UpdateSession() override;

    const QString &LocalFilePath() const { return m_localFilePath; }
    const QString &WebFilePath() const { return m_webFilePath; }
    const QString &BackupFilePath() const { return m_backupFilePath; }
    void setLocalFilePath(const QString &path) { m_localFilePath = path; }
    void setWebFilePath(const QString &address) { m_webFilePath = address; }

    const QDateTime &LocalDate() const { return m_localDate; }
    qint64 LocalSize() const { return m_localSize; }
    const QDateTime &RemoteDate() const { return m_remoteDate; }
    qint64 RemoteSize() const { return m_remoteSize; }
    // Set once an update has written the file; the next whole check is its final check.
    bool JustUpdated() const { return m_justUpdated; }

    // Read at the final check: delete the backup when the new file is whole.
    void setDeleteBackup(bool deleteBackup) { m_deleteBackup = deleteBackup; }

    HttpTransfer &transfer() { return m_inet; }
    bool busy() const { return m_inet.busy(); }

    // Each gives Started, Busy or Refused; a started request ends in a signal.
    Result Refresh();                      // ends in checked()
    Result Update();                       // ends in updated(), or in checked() when the final check fails
    Result FetchNewFile(qint64 maxBytes);  // ends in fetched()

    // Copies the backup back over the local file; the empty text, or why it failed.
    QString RestoreBackup();
    // Stops any request without a word: the program ends.
    void stop();

signals:
    void stageChanged(kox::UpdateSession::Stage stage);
    void logged(const QString &line);  // a step of the update, for the log
    void checked(const kox::Result &result);
    void updated(const kox::Result &result);
    void fetched(const kox::Result &result, const QByteArray &body);
    void downloadProgress(qint64 received, qint64 total);

private:
    void CheckArrived(const HttpTransfer::Response &response);
    void FinalCheck();
    void DownloadArrived(const HttpTransfer::Response &response);
    void FetchArrived(const HttpTransfer::Response &response, const QByteArray &body);
    static Result failureOf(const HttpTransfer::Response &response);

    HttpTransfer m_inet;
    QString m_localFilePath;
    QString m_webFilePath;
    QString m_backupFilePath;
    QDateTime m_localDate;
    qint64 m_localSize = 0;
    QDateTime m_remoteDate;
    qint64 m_remoteSize = 0;
    bool m_justUpdated = false;
    bool m_deleteBackup = false;
};

}  // namespace kox
