#include "fmain.h"

#include "ccommandline.h"
#include "cfilestream.h"
#include "ftextview.h"
#include "textfit.h"
#include "textpreview.h"
#include "updatecheck.h"
#include "appinfo.h"
#include "fileattributes.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

namespace kox {

const QString FMain::MakerPageAddress = QStringLiteral("https://tuvel.example.org/");

namespace {

const QString Title = QStringLiteral("kox");

// Captions keep CR LF; a button shows only the LF.
QString shownCaption(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

const QString Busy = QStringLiteral("ただいま通信中です。前の処理が終わってから、もう一度押してください。");
const QString Checking = QStringLiteral("ただいま、必要な情報を取得しています...");
const QString Updating = QStringLiteral("ただいま、データを更新しています...");
const QString CheckFailed = QStringLiteral("ウェブファイルの情報を取得できませんでした。");

}  // namespace

FMain::FMain(platform::Services services, QWidget *parent) : QWidget(parent), m_services(services)
{
    BuildControls();
    connect(&m_session, &UpdateSession::stageChanged, this, &FMain::ShowStage);
    connect(&m_session, &UpdateSession::logged, this, &FMain::AddLog);
    connect(&m_session, &UpdateSession::checked, this, &FMain::ShowCheck);
    connect(&m_session, &UpdateSession::updated, this, &FMain::ShowUpdate);
    connect(&m_session, &UpdateSession::fetched, this, &FMain::ShowNewFile);
    connect(&m_session, &UpdateSession::downloadProgress, this, &FMain::ShowProgress);
    connect(Check1, &QCheckBox::toggled, &m_session, &UpdateSession::setDeleteBackup);
}

FMain::~FMain() { m_session.disconnect(this); }

bool FMain::Form_Load(const CCommandLine &commandLine)
{
    setWindowTitle(common::VersionText(common::AppInfo::current(Title)));
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    show();

    for (int i = commandLine.MinIndex(); i <= commandLine.MaxIndex(); ++i)
        AddLog(commandLine.Lines(i));

    const QString localPath = commandLine.Lines(0);
    if (!platform::FileExists(localPath).exists) {
        const auto answer = showMessage(
            QMessageBox::Warning, QStringLiteral("ローカルファイルパスに実体がありません。\nそのまま通しますか？"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            close();
            return false;
        }
        showMessage(QMessageBox::NoIcon,
                    QStringLiteral("それでは、以下のようなファイル名で処理を進めていきます。\n\n") + localPath,
                    QMessageBox::Ok);
    }
    m_session.setLocalFilePath(localPath);
    m_session.setWebFilePath(commandLine.Lines(1));
    Command6_Click();
    return true;
}

QMessageBox::StandardButton FMain::showMessage(QMessageBox::Icon icon, const QString &text,
                                               QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, Title, text, buttons, this);
    return QMessageBox::StandardButton(box.exec());
}

void FMain::showTextView(const QString &caption, const QString &text)
{
    FTextView view(this);
    view.setWindowTitle(caption);
    view.Text1->setPlainText(text);
    view.exec();
}

void FMain::AddLog(const QString &line)
{
    m_log += QStringLiteral("\r\n") + line;
    Text3->setPlainText(shownCaption(m_log));
    QTextCursor caret = Text3->textCursor();
    caret.movePosition(QTextCursor::End);
    Text3->setTextCursor(caret);
    Text3->verticalScrollBar()->setValue(Text3->verticalScrollBar()->maximum());
}

void FMain::SetStatus(const QString &text, bool alert)
{
    Label1->setText(text);
    textfit::shrinkToFit(Label1, LabelFont(true, false));
    QPalette colours = palette();
    if (alert) {
        colours.setColor(QPalette::WindowText, Qt::white);
        colours.setColor(QPalette::Window, QColor(255, 0, 0));
    } else {
        colours.setColor(QPalette::WindowText, colours.color(QPalette::ButtonText));
        colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    }
    Label1->setPalette(colours);
}

void FMain::ShowStage(UpdateSession::Stage stage)
{
    switch (stage) {
    case UpdateSession::Stage::Checking: SetStatus(Checking, false); break;
    case UpdateSession::Stage::Updating: SetStatus(Updating, true); break;
    case UpdateSession::Stage::FinalCheck:
        SetStatus(QStringLiteral("ファイルサイズの最終確認を行っています..."), false);
        break;
    }
}

void FMain::Command6_Click()
{
    const Result started = m_session.Refresh();
    if (started.outcome != Outcome::Started)
        ShowCheck(started);
}

void FMain::ShowCheck(const Result &result)
{
    const UpdateSession &s = m_session;
    switch (result.outcome) {
    case Outcome::Busy: AddLog(Busy); return;
    case Outcome::Refused:
        AddLog(result.detail);
        SetStatus(CheckFailed, false);
        showMessage(QMessageBox::Warning, result.detail, QMessageBox::Ok);
        return;
    case Outcome::HttpError:
    case Outcome::NoAnswer:
        AddLog(QStringLiteral("ウェブファイルの情報を取得できませんでした：") + result.detail);
        SetStatus(CheckFailed, false);
        // A server's error page is no data file; say so, but keep the window.
        if (result.outcome == Outcome::HttpError)
            showMessage(QMessageBox::Warning, QStringLiteral("ウェブファイルパスに誤りがあります。\n") + result.detail,
                        QMessageBox::Ok);
        return;
    case Outcome::NoLength:
        showMessage(QMessageBox::Warning, QStringLiteral("ウェブファイルパスに誤りがあります。"), QMessageBox::Ok);
        close();
        return;
    case Outcome::DateUnknown:
        Command3->setText(shownCaption(updatecheck::summaryText(s.LocalDate(), s.LocalSize())));
        Command4->setText(QStringLiteral("last : 不明\nsize : %1 byte").arg(s.RemoteSize()));
        AddLog(QStringLiteral("ウェブファイルの更新日時（Last-modified）を読み取れませんでした。"));
        SetStatus(QStringLiteral("ウェブファイルの更新日時が分からないため、更新の要否を判定できません。"), false);
        return;
    default: break;
    }
    Command3->setText(shownCaption(updatecheck::summaryText(s.LocalDate(), s.LocalSize())));
    Command4->setText(shownCaption(updatecheck::summaryText(s.RemoteDate(), s.RemoteSize())));
    AddLog(QStringLiteral("更新対象ファイルは ") + QString::number(result.days) +
           QStringLiteral("日 新しいのものです。"));
    if (result.outcome == Outcome::UpdateNeeded)
        SetStatus(QStringLiteral("ローカルファイルはアップデートする必要があるようです。"), true);
    else
        SetStatus(QStringLiteral("ローカルファイルはアップデートする必要がないようです。"), false);
}

void FMain::Command1_Click()
{
    const Result started = m_session.Update();
    switch (started.outcome) {
    case Outcome::Busy: AddLog(Busy); break;
    case Outcome::NotWritable:
        UpdateStopped(QStringLiteral("ローカルファイルが読み取り専用（またはフォルダー）のため、書き込めません。"),
                      true);
        break;
    case Outcome::BackupFailed:
        UpdateStopped(QStringLiteral("バックアップを作成できませんでした（%1）。").arg(started.detail), true);
        break;
    case Outcome::Refused: UpdateStopped(started.detail, true); break;
    default: break;
    }
}

void FMain::ShowUpdate(const Result &result)
{
    switch (result.outcome) {
    case Outcome::Aborted:
    case Outcome::DownloadFailed:
        UpdateStopped(QStringLiteral("ダウンロードに失敗しました：") + result.detail,
                      result.outcome != Outcome::Aborted);
        break;
    case Outcome::BackupDeleted: AddLog(QStringLiteral("バックアップファイルは削除されました。")); break;
    case Outcome::BackupMissing:
        AddLog(QStringLiteral("バックアップファイルが見つからないため、削除できませんでした。"));
        break;
    case Outcome::BackupNotDeleted:
        AddLog(QStringLiteral("バックアップファイルを削除できませんでした：") + m_session.BackupFilePath());
        break;
    case Outcome::SizeMismatch: AskRestore(); break;
    default: break;
    }
}

void FMain::AskRestore()
{
    const auto answer = showMessage(
        QMessageBox::Warning,
        QStringLiteral("ファイルが正常にダウンロード出来なかったようです。ファイルを以前のものに戻しますか？"),
        QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    const QString failed = m_session.RestoreBackup();
    if (failed.isEmpty())
        showMessage(QMessageBox::NoIcon, QStringLiteral("ファイルを以前のものに戻しました。"), QMessageBox::Ok);
    else
        showMessage(QMessageBox::Warning, QStringLiteral("ファイルを以前のものに戻せませんでした。\n") + failed,
                    QMessageBox::Ok);
}

void FMain::UpdateStopped(const QString &why, bool ask)
{
    AddLog(why);
    AddLog(QStringLiteral("更新を中止しました。ローカルファイルは変更されていません。"));
    SetStatus(QStringLiteral("更新を中止しました。"), false);
    if (ask)
        showMessage(QMessageBox::Warning,
                    QStringLiteral("更新を中止しました。ローカルファイルは変更されていません。\n") + why,
                    QMessageBox::Ok);
}

void FMain::ShowProgress(qint64 received, qint64 total)
{
    QString progress = QLocale().toString(received) + QStringLiteral(" バイト");
    if (total > 0)
        progress += QStringLiteral(" / ") + QLocale().toString(total) + QStringLiteral(" バイト (") +
                    QString::number(received * 100 / total) + QStringLiteral("%)");
    SetStatus(Updating + QLatin1Char('\n') + progress, true);
}

void FMain::Command7_Click()
{
    // Closing stops any running transfer; a download leaves the data file as it was.
    close();
}

void FMain::closeEvent(QCloseEvent *event)
{
    // The program ends: a stopped request is no failure to tell the user about.
    m_session.stop();
    QWidget::closeEvent(event);
}

void FMain::Command2_Click()
{
    const HttpTransfer::Response &last = m_session.transfer().lastResponse();
    showTextView(QStringLiteral("Headeres"), updatecheck::allHeadersText(last.statusCode, last.reason, last.headers));
}

void FMain::Command3_Click()
{
    CFileStream stream;
    stream.Path = m_session.LocalFilePath();
    const QString text = textpreview::shownText(stream.Leading(textpreview::ReadBytes));
    showTextView(stream.Path, text);
}

void FMain::Command4_Click()
{
    const Result started = m_session.FetchNewFile(textpreview::ReadBytes);
    if (started.outcome == Outcome::Busy) {
        AddLog(Busy);
    } else if (started.outcome == Outcome::Refused) {
        AddLog(started.detail);
        showMessage(QMessageBox::Warning, started.detail, QMessageBox::Ok);
    }
}

void FMain::ShowNewFile(const Result &result, const QByteArray &body)
{
    if (result.outcome != Outcome::Fetched) {
        AddLog(QStringLiteral("ウェブファイルを取得できませんでした：") + result.detail);
        showMessage(QMessageBox::Warning, QStringLiteral("ウェブファイルを取得できませんでした。\n") + result.detail,
                    QMessageBox::Ok);
        return;
    }
    showTextView(m_session.WebFilePath(), textpreview::shownText(body));
}

void FMain::Label2_Click()
{
    if (!m_services.documentOpener || !m_services.documentOpener->open(MakerPageAddress))
        AddLog(QStringLiteral("ウェブページを開けませんでした：") + MakerPageAddress);
}

}  // namespace kox
