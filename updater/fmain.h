#pragma once
// The updater's main window: shows what its update session reports (the log, the
// status line, the old and new file summaries, the questions) and passes the
// user's buttons on to it.

#include "updatesession.h"
#include "services.h"

#include <QMessageBox>
#include <QWidget>

class CCommandLine;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kox {

class FMain : public QWidget {
    Q_OBJECT
public:
    static const QString MakerPageAddress;

    explicit FMain(platform::Services services, QWidget *parent = nullptr);
    ~FMain() override;

    // Start-up. False when the user chose to stop; the window is closed then.
    bool Form_Load(const CCommandLine &commandLine);

    UpdateSession &Session() { return m_session; }
    HttpTransfer &Inet1() { return m_session.transfer(); }
    // The log exactly as kept: every line preceded by CR LF.
    QString logText() const { return m_log; }

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

protected:
    // Message boxes titled "kox"; tests answer them without blocking.
    virtual QMessageBox::StandardButton showMessage(QMessageBox::Icon icon, const QString &text,
                                                    QMessageBox::StandardButtons buttons);
    // Shows a text window modally, owned by this window.
    virtual void showTextView(const QString &caption, const QString &text);
    void closeEvent(QCloseEvent *event) override;
    void SetStatus(const QString &text, bool alert);

private slots:
    void Command1_Click();  // Update
    void Command2_Click();  // Headeres
    void Command3_Click();  // old file
    void Command4_Click();  // new file
    void Command6_Click();  // Refresh
    void Command7_Click();  // Cancel
    void Label2_Click();

private:
    void BuildControls();
    static void FitCaption(QWidget *control, int leftLimit);
    static QFont LabelFont(bool bold, bool underline);
    void AddLog(const QString &line);
    void ShowStage(UpdateSession::Stage stage);
    void ShowCheck(const Result &result);
    void ShowUpdate(const Result &result);
    void ShowNewFile(const Result &result, const QByteArray &body);
    void ShowProgress(qint64 received, qint64 total);
    void AskRestore();
    void UpdateStopped(const QString &why, bool ask);

    platform::Services m_services;
    UpdateSession m_session;
    QString m_log;
};

}  // namespace kox
