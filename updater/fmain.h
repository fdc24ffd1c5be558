#pragma once
// The updater's main window: checks the remote data file's date against the local
// one, downloads it with a backup, and offers the restore when the result is wrong.

#include "httptransfer.h"
#include "platform/services.h"

#include <QDateTime>
#include <QMessageBox>
#include <QWidget>

class CCommandLine;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class FMain : public QWidget {
    Q_OBJECT
public:
    static const QString MakerPageAddress;

    explicit FMain(platform::Services services, QWidget *parent = nullptr);
    ~FMain() override;

    // Start-up. False when the user chose to stop; the window is closed then.
    bool Form_Load(const CCommandLine &commandLine);

    HttpTransfer &Inet1() { return m_inet; }
    // The log exactly as kept: every line preceded by CR LF.
    QString logText() const { return m_log; }

    QString LocalFilePath;
    QString WebFilePath;
    QString BackupFilePath;
    QDateTime LocalDate;
    qint64 LocalSize = 0;
    QDateTime RemoteDate;
    qint64 RemoteSize = 0;
    bool JustUpdated = false;

    QGroupBox *Frame1 = nullptr;
    QPushButton *Command3 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command2 = nullptr;
    QPlainTextEdit *Text3 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command7 = nullptr;
    QLabel *Label2 = nullptr;
    QCheckBox *Check1 = nullptr;

public slots:
    void Command1_Click();  // Update
    void Command2_Click();  // Headeres
    void Command3_Click();  // old file
    void Command4_Click();  // new file
    void Command6_Click();  // Refresh
    void Command7_Click();  // Cancel
    void Label2_Click();

protected:
    // Message boxes titled "kox"; tests answer them without blocking.
    virtual QMessageBox::StandardButton showMessage(QMessageBox::Icon icon, const QString &text,
                                                    QMessageBox::StandardButtons buttons);
    // Shows a text window modally, owned by this window.
    virtual void showTextView(const QString &caption, const QString &text);
    void closeEvent(QCloseEvent *event) override;
    void SetStatus(const QString &text, bool alert);

private:
    void BuildControls();
    static void FitCaption(QWidget *control, int leftLimit);
    void AddLog(const QString &line);
    void Inet1_StateChanged(const HttpTransfer::Response &response);  // check result
    void FinalCheck();
    void DownloadProgress(qint64 received, qint64 total);
    void DownloadFinished(const HttpTransfer::Response &response, qint64 bytesWritten);
    void NewFileFetched(const HttpTransfer::Response &response, const QByteArray &body);
    void UpdateStopped(const QString &why, bool ask);
    bool RefuseWhileBusy();

    platform::Services m_services;
    HttpTransfer m_inet;
    QString m_log;
};
