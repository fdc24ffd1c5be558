#include "fmain.h"

#include "ccommandline.h"
#include "cfilestream.h"
#include "filecopy.h"
#include "ftextview.h"
#include "textfit.h"
#include "textpreview.h"
#include "updatecheck.h"
#include "platform/appinfo.h"
#include "platform/fileattributes.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>

const QString FMain::MakerPageAddress = QStringLiteral("https://tuvel.example.org/");

namespace {

const QString Title = QStringLiteral("kox");

// Twips to pixels at a fixed 15 twips per pixel.
QRect twips(int left, int top, int width, int height)
{
    auto px = [](int value) { return qRound(value / 15.0); };
    return QRect(px(left), px(top), px(width), px(height));
}

QFont statusFont(bool bold, bool underline)
{
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"), 9);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

// Captions keep CR LF; a button shows only the LF.
QString shownCaption(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

const QString Busy = QStringLiteral("ただいま通信中です。前の処理が終わってから、もう一度押してください。");
const QString Checking = QStringLiteral("ただいま、必要な情報を取得しています...");
const QString Updating = QStringLiteral("ただいま、データを更新しています...");

} // namespace

FMain::FMain(platform::Services services, QWidget *parent)
    : QWidget(parent)
    , m_services(services)
{
    LocalDate = updatecheck::zeroDateTime();
    RemoteDate = updatecheck::zeroDateTime();
    BuildControls();
    connect(&m_inet, &HttpTransfer::headFinished, this, &FMain::Inet1_StateChanged);
    connect(&m_inet, &HttpTransfer::downloadProgress, this, &FMain::DownloadProgress);
    connect(&m_inet, &HttpTransfer::downloadFinished, this, &FMain::DownloadFinished);
    connect(&m_inet, &HttpTransfer::fetchFinished, this, &FMain::NewFileFetched);
}

FMain::~FMain()
{
    m_inet.disconnect(this);
}

void FMain::BuildControls()
{
    setFixedSize(420, 228);  // client 6300 x 3420 twips
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);

    Frame1 = new QGroupBox(QStringLiteral("Old File (Before)"), this);
    Frame1->setGeometry(twips(100, 100, 3000, 1500));
    Command3 = new QPushButton(QStringLiteral("Information"), Frame1);
    Command3->setGeometry(twips(100, 300, 2800, 1100));

    Frame2 = new QGroupBox(QStringLiteral("New File (After)"), this);
    Frame2->setGeometry(twips(3200, 100, 3000, 1500));
    Command4 = new QPushButton(QStringLiteral("Information"), Frame2);
    Command4->setGeometry(twips(100, 300, 2800, 800));
    Command2 = new QPushButton(QStringLiteral("Headeres"), Frame2);
    Command2->setGeometry(twips(100, 1100, 2800, 300));

    Text3 = new QPlainTextEdit(this);
    Text3->setGeometry(twips(100, 1700, 6100, 700));
    Text3->setReadOnly(true);
    Text3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text3->setAccessibleName(QStringLiteral("ログ"));
    QPalette logColours = Text3->palette();
    logColours.setColor(QPalette::Base, logColours.color(QPalette::Button));
    logColours.setColor(QPalette::Text, logColours.color(QPalette::ButtonText));
    Text3->setPalette(logColours);

    Label1 = new QLabel(this);
    Label1->setGeometry(twips(105, 2505, 2985, 495));
    Label1->setFont(statusFont(true, false));
    Label1->setWordWrap(true);
    Label1->setAutoFillBackground(true);
    // No accessible name: assistive technology reads the status text itself.
    Label1->setAccessibleDescription(QStringLiteral("状態"));

    Command6 = new QPushButton(QStringLiteral("Refresh"), this);
    Command6->setGeometry(twips(3300, 2600, 900, 300));
    Command1 = new QPushButton(QStringLiteral("Update"), this);
    Command1->setGeometry(twips(4300, 2600, 900, 300));
    Command7 = new QPushButton(QStringLiteral("Cancel"), this);
    Command7->setGeometry(twips(5300, 2600, 900, 300));

    // A link, so that the keyboard and assistive technology reach it too.
    Label2 = new QLabel(this);
    Label2->setGeometry(twips(100, 3100, 2250, 180));
    Label2->setFont(statusFont(false, true));
    Label2->setTextFormat(Qt::RichText);
    Label2->setText(QStringLiteral("<a href=\"%1\" style=\"color:#0000ff;\">© tuvel project</a>")
                        .arg(MakerPageAddress));
    textfit::shrinkToFit(Label2, statusFont(false, true));
    Label2->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    Label2->setToolTip(MakerPageAddress);
    Label2->setAccessibleName(QStringLiteral("作者のウェブページ"));
    connect(Label2, &QLabel::linkActivated, this, &FMain::Label2_Click);

    Check1 = new QCheckBox(QStringLiteral("更新後、バックアップファイルを削除する。"), this);
    Check1->setGeometry(twips(2700, 3100, 3500, 300));
    Check1->setChecked(false);  // keep the backup unless asked
    FitCaption(Check1, Label2->geometry().right() + 8);

    // Tab order; frames and the status label take no focus and are passed over.
    QWidget *order[] = {Frame1, Frame2, Command3, Command4, Text3, Command1, Command7,
                        Label1, Command2, Command6, Label2, Check1};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(Command1, &QPushButton::clicked, this, &FMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FMain::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &FMain::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &FMain::Command4_Click);
    connect(Command6, &QPushButton::clicked, this, &FMain::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &FMain::Command7_Click);
    SetStatus(QString(), false);
}

// Fonts without proportional kana make Japanese captions wider than the design
// allows: the control first takes the free room to its left, then its font shrinks
// until the caption fits, so it is never cut off.
void FMain::FitCaption(QWidget *control, int leftLimit)
{
    QRect area = control->geometry();
    if (control->sizeHint().width() <= area.width())
        return;
    area.setLeft(qMax(leftLimit, area.right() + 1 - control->sizeHint().width()));
    control->setGeometry(area);
    QFont font = control->font();
    while (control->sizeHint().width() > area.width() && font.pointSizeF() > 6.5) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        control->setFont(font);
    }
}

bool FMain::Form_Load(const CCommandLine &commandLine)
{
    setWindowTitle(platform::VersionText(platform::AppInfo::current(Title)));
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
        const auto answer = showMessage(QMessageBox::Warning,
            QStringLiteral("ローカルファイルパスに実体がありません。\nそのまま通しますか？"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            close();
            return false;
        }
        showMessage(QMessageBox::NoIcon,
            QStringLiteral("それでは、以下のようなファイル名で処理を進めていきます。\n\n") + localPath,
            QMessageBox::Ok);
    }
    LocalFilePath = localPath;
    WebFilePath = commandLine.Lines(1);
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
    textfit::shrinkToFit(Label1, statusFont(true, false));
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

bool FMain::RefuseWhileBusy()
{
    if (!m_inet.busy())
        return false;
    AddLog(Busy);
    return true;
}

void FMain::Command6_Click()
{
    if (RefuseWhileBusy())
        return;
    SetStatus(Checking, false);
    const QString refused = m_inet.head(WebFilePath);
    if (!refused.isEmpty()) {
        AddLog(refused);
        SetStatus(QStringLiteral("ウェブファイルの情報を取得できませんでした。"), false);
        showMessage(QMessageBox::Warning, refused, QMessageBox::Ok);
    }
}

void FMain::Inet1_StateChanged(const HttpTransfer::Response &response)
{
    if (!response.ok) {
        AddLog(QStringLiteral("ウェブファイルの情報を取得できませんでした：") + response.error);
        SetStatus(QStringLiteral("ウェブファイルの情報を取得できませんでした。"), false);
        // A server's error page is no data file; say so, but keep the window.
        if (response.statusCode != 0)
            showMessage(QMessageBox::Warning,
                        QStringLiteral("ウェブファイルパスに誤りがあります。\n") + response.error,
                        QMessageBox::Ok);
        return;
    }
    const QString contentLength = response.header(QStringLiteral("Content-length"));
    if (contentLength.isEmpty()) {
        showMessage(QMessageBox::Warning, QStringLiteral("ウェブファイルパスに誤りがあります。"),
                    QMessageBox::Ok);
        close();
        return;
    }
    const QFileInfo local(LocalFilePath);
    if (platform::FileExists(LocalFilePath).exists) {
        LocalDate = updatecheck::wallClock(local.lastModified());
        LocalSize = local.size();
    }
    RemoteSize = updatecheck::ReadContentLength(contentLength);
    const auto lastModified =
        updatecheck::ParseLastModified(response.header(QStringLiteral("Last-modified")));
    Command3->setText(shownCaption(updatecheck::summaryText(LocalDate, LocalSize)));
    // The nine hours can still carry a date at the very end of the range out of it.
    if (!lastModified || !updatecheck::remoteDateOf(*lastModified).isValid()) {
        Command4->setText(QStringLiteral("last : 不明\nsize : %1 byte").arg(RemoteSize));
        AddLog(QStringLiteral("ウェブファイルの更新日時（Last-modified）を読み取れませんでした。"));
        SetStatus(QStringLiteral("ウェブファイルの更新日時が分からないため、更新の要否を判定できません。"), false);
    } else {
        RemoteDate = updatecheck::remoteDateOf(*lastModified);
        Command4->setText(shownCaption(updatecheck::summaryText(RemoteDate, RemoteSize)));
        const qint64 days = updatecheck::calendarDays(LocalDate, RemoteDate);
        AddLog(QStringLiteral("更新対象ファイルは ") + QString::number(days)
               + QStringLiteral("日 新しいのものです。"));
        if (days < 1)
            SetStatus(QStringLiteral("ローカルファイルはアップデートする必要がないようです。"), false);
        else
            SetStatus(QStringLiteral("ローカルファイルはアップデートする必要があるようです。"), true);
    }
    if (JustUpdated)
        FinalCheck();
}

void FMain::FinalCheck()
{
    if (LocalSize == RemoteSize) {
        if (Check1->checkState() != Qt::Unchecked) {
            if (QFile::remove(BackupFilePath))
                AddLog(QStringLiteral("バックアップファイルは削除されました。"));
            else if (!QFileInfo::exists(BackupFilePath))
                AddLog(QStringLiteral("バックアップファイルが見つからないため、削除できませんでした。"));
            else
                AddLog(QStringLiteral("バックアップファイルを削除できませんでした：") + BackupFilePath);
        }
    } else {
        const auto answer = showMessage(QMessageBox::Warning,
            QStringLiteral("ファイルが正常にダウンロード出来なかったようです。ファイルを以前のものに戻しますか？"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes) {
            const QString failed = copyFileOver(BackupFilePath, LocalFilePath);
            if (failed.isEmpty())
                showMessage(QMessageBox::NoIcon, QStringLiteral("ファイルを以前のものに戻しました。"),
                            QMessageBox::Ok);
            else
                showMessage(QMessageBox::Warning,
                            QStringLiteral("ファイルを以前のものに戻せませんでした。\n") + failed,
                            QMessageBox::Ok);
        }
    }
    JustUpdated = false;
}

void FMain::Command1_Click()
{
    if (RefuseWhileBusy())
        return;
    SetStatus(Updating, true);
    AddLog(QStringLiteral("アップデートプロセスを開始します..."));
    AddLog(QStringLiteral("ファイルのアップデートを行います。"));
    AddLog(QStringLiteral("バックアップファイル名は："));
    BackupFilePath = LocalFilePath + QStringLiteral(".bak");
    AddLog(BackupFilePath);
    // Checked before the backup, so that a file we may not write leaves no stray .bak.
    // The attribute is what the user set; the second test also catches a file that
    // is locked against writing in other ways (for example immutable).
    const platform::FileAttributes local = platform::FileExists(LocalFilePath);
    const bool readOnly = local.exists
        && ((local.attributes & platform::AttrReadOnly) || !QFileInfo(LocalFilePath).isWritable());
    if (local.isDirectory() || readOnly) {
        UpdateStopped(QStringLiteral("ローカルファイルが読み取り専用（またはフォルダー）のため、書き込めません。"), true);
        return;
    }
    AddLog(QStringLiteral("バックアップ中..."));
    if (local.exists) {
        const QString failed = copyFileOver(LocalFilePath, BackupFilePath);
        if (!failed.isEmpty()) {
            UpdateStopped(QStringLiteral("バックアップを作成できませんでした（%1）。").arg(failed), true);
            return;
        }
        AddLog(QStringLiteral("バックアップは終了しました。"));
    } else {
        AddLog(QStringLiteral("ローカルファイルがないため、バックアップは作成しませんでした。"));
    }
    AddLog(QStringLiteral("アップデートプロセス中です..."));
    const QString refused = m_inet.download(WebFilePath, LocalFilePath);
    if (!refused.isEmpty())
        UpdateStopped(refused, true);
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

void FMain::DownloadProgress(qint64 received, qint64 total)
{
    QString progress = QLocale().toString(received) + QStringLiteral(" バイト");
    if (total > 0)
        progress += QStringLiteral(" / ") + QLocale().toString(total) + QStringLiteral(" バイト (")
            + QString::number(received * 100 / total) + QStringLiteral("%)");
    SetStatus(Updating + QLatin1Char('\n') + progress, true);
}

void FMain::DownloadFinished(const HttpTransfer::Response &response, qint64)
{
    if (!response.ok) {
        const bool byUser = response.error == QStringLiteral("通信を中止しました。");
        UpdateStopped(QStringLiteral("ダウンロードに失敗しました：") + response.error, !byUser);
        return;
    }
    AddLog(QStringLiteral("アップデートプロセスは終了しました。"));
    JustUpdated = true;
    Command6_Click();
    if (m_inet.busy())
        SetStatus(QStringLiteral("ファイルサイズの最終確認を行っています..."), false);
}

void FMain::Command7_Click()
{
    // Closing stops any running transfer; a download leaves the data file as it was.
    close();
}

void FMain::closeEvent(QCloseEvent *event)
{
    // The program ends: a stopped request is no failure to tell the user about.
    const QSignalBlocker quiet(m_inet);
    m_inet.abort();
    QWidget::closeEvent(event);
}

void FMain::Command2_Click()
{
    const HttpTransfer::Response &last = m_inet.lastResponse();
    showTextView(QStringLiteral("Headeres"),
                 updatecheck::allHeadersText(last.statusCode, last.reason, last.headers));
}

void FMain::Command3_Click()
{
    CFileStream stream;
    stream.Path = LocalFilePath;
    const QString text = textpreview::shownText(stream.Leading(textpreview::ReadBytes));
    showTextView(stream.Path, text);
}

void FMain::Command4_Click()
{
    if (RefuseWhileBusy())
        return;
    const QString refused = m_inet.fetch(WebFilePath, textpreview::ReadBytes);
    if (!refused.isEmpty()) {
        AddLog(refused);
        showMessage(QMessageBox::Warning, refused, QMessageBox::Ok);
    }
}

void FMain::NewFileFetched(const HttpTransfer::Response &response, const QByteArray &body)
{
    if (!response.ok) {
        AddLog(QStringLiteral("ウェブファイルを取得できませんでした：") + response.error);
        showMessage(QMessageBox::Warning,
                    QStringLiteral("ウェブファイルを取得できませんでした。\n") + response.error,
                    QMessageBox::Ok);
        return;
    }
    showTextView(WebFilePath, textpreview::shownText(body));
}

void FMain::Label2_Click()
{
    if (!m_services.documentOpener || !m_services.documentOpener->open(MakerPageAddress))
        AddLog(QStringLiteral("ウェブページを開けませんでした：") + MakerPageAddress);
}
