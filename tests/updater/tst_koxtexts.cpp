// Every text the updater window shows fits its control with the fonts at hand, and
// assistive technology reads the status and the log.
#include "testablefmain.h"
#include "fakeservices.h"
#include "textfit.h"
#include "updatecheck.h"

#include <QAccessible>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextDocumentFragment>

namespace {

// The label's text as shown, measured at its font, wrapped as the label wraps it.
QRect needed(const QLabel *label)
{
    const QString shown = label->textFormat() == Qt::RichText
                              ? QTextDocumentFragment::fromHtml(label->text()).toPlainText()
                              : label->text();
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    return QFontMetrics(label->font()).boundingRect(label->contentsRect(), flags, shown);
}

QString describe(const QLabel *label)
{
    return QString("needs %1x%2 in %3x%4 at %5 pt (%6)")
        .arg(needed(label).width())
        .arg(needed(label).height())
        .arg(label->contentsRect().width())
        .arg(label->contentsRect().height())
        .arg(label->font().pointSizeF())
        .arg(QFontInfo(label->font()).family());
}

}  // namespace

class TestKoxTexts : public QObject {
    Q_OBJECT
private slots:
    void statusFits_data();
    void statusFits();
    void progressFits_data();
    void progressFits();
    void shortStatusTakesTheDesignFont();
    void copyrightFits();
    void captionsFit_data();
    void captionsFit();
    void titlesFit();
    void logIsRead();
    void longLogLineWraps();

private:
    platform::fake::FakeServiceSet m_fakes;
};

// Every text the program passes to the status label.
void TestKoxTexts::statusFits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("alert");
    const char *const texts[][2] = {
        {"", ""},
        {"ただいま、必要な情報を取得しています...", ""},
        {"ウェブファイルの情報を取得できませんでした。", ""},
        {"ウェブファイルの更新日時が分からないため、更新の要否を判定できません。", ""},
        {"ローカルファイルはアップデートする必要がないようです。", ""},
        {"ローカルファイルはアップデートする必要があるようです。", "alert"},
        {"ただいま、データを更新しています...", "alert"},
        {"更新を中止しました。", ""},
        {"ファイルサイズの最終確認を行っています...", ""},
    };
    for (const auto &row : texts)
        QTest::newRow(row[0]) << QString::fromUtf8(row[0]) << (row[1][0] != 0);
}

void TestKoxTexts::statusFits()
{
    QFETCH(QString, text);
    QFETCH(bool, alert);
    TestableFMain w(m_fakes.services());
    w.SetStatus(text, alert);
    QCOMPARE(w.Label1->text(), text);
    QVERIFY2(w.Label1->contentsRect().contains(needed(w.Label1)), qPrintable(describe(w.Label1)));
    QVERIFY(w.Label1->font().pointSizeF() >= textfit::MinimumPointSize);
    // Screen readers read the message, not a fixed name.
    QAccessibleInterface *status = QAccessible::queryAccessibleInterface(w.Label1);
    QVERIFY(status);
    QCOMPARE(status->text(QAccessible::Name), text);
}

void TestKoxTexts::progressFits_data()
{
    QTest::addColumn<qint64>("received");
    QTest::addColumn<qint64>("total");
    QTest::newRow("start") << qint64(0) << qint64(211812352);
    QTest::newRow("largest") << qint64(2147483647) << qint64(2147483647);
    QTest::newRow("no length") << qint64(2147483647) << qint64(-1);
}

// The download progress line below the status, as the transfer reports it.
void TestKoxTexts::progressFits()
{
    QFETCH(qint64, received);
    QFETCH(qint64, total);
    TestableFMain w(m_fakes.services());
    emit w.Inet1().downloadProgress(received, total);
    QVERIFY(w.Label1->text().contains(QLocale().toString(received)));
    QVERIFY2(w.Label1->contentsRect().contains(needed(w.Label1)), qPrintable(describe(w.Label1)));
    QCOMPARE(QAccessible::queryAccessibleInterface(w.Label1)->text(QAccessible::Name), w.Label1->text());
}

void TestKoxTexts::shortStatusTakesTheDesignFont()
{
    TestableFMain w(m_fakes.services());
    w.SetStatus(QString(), false);
    const QFont design = w.Label1->font();
    w.SetStatus("ウェブファイルの更新日時が分からないため、更新の要否を判定できません。", false);
    w.SetStatus("更新を中止しました。", false);
    QCOMPARE(w.Label1->font().pointSizeF(), design.pointSizeF());
    QVERIFY(w.Label1->font().bold());
}

void TestKoxTexts::copyrightFits()
{
    TestableFMain w(m_fakes.services());
    const QLabel *link = w.Label2;
    QVERIFY(link->text().contains("tuvel project"));
    QVERIFY2(link->contentsRect().contains(needed(link)), qPrintable(describe(link)));
    const QFontMetrics metrics(link->font());
    QVERIFY(link->font().underline());
    QVERIFY2(metrics.ascent() + metrics.underlinePos() + metrics.lineWidth() <= link->contentsRect().height(),
             qPrintable(describe(link)));
}

// Buttons by name, with the captions they can show.
// clang-format off
void TestKoxTexts::captionsFit_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("caption");
    const QDateTime widest(QDate(2026, 12, 28), QTime(23, 59, 59), Qt::UTC);
    const QString summary = updatecheck::summaryText(widest, 2147483647).replace("\r\n", "\n");
    for (const char *button : {"Command3", "Command4"}) {
        QTest::addRow("%s Information", button) << button << "Information";
        QTest::addRow("%s summary", button) << button << summary;
    }
    QTest::newRow("Command4 date unknown") << "Command4" << "last : 不明\nsize : 2147483647 byte";
    QTest::newRow("Headeres") << "Command2" << "Headeres";
    QTest::newRow("Refresh") << "Command6" << "Refresh";
    QTest::newRow("Update") << "Command1" << "Update";
    QTest::newRow("Cancel") << "Command7" << "Cancel";
}
// clang-format on

void TestKoxTexts::captionsFit()
{
    QFETCH(QString, button);
    QFETCH(QString, caption);
    TestableFMain w(m_fakes.services());
    const QHash<QString, QPushButton *> buttons{{"Command1", w.Command1}, {"Command2", w.Command2},
                                                {"Command3", w.Command3}, {"Command4", w.Command4},
                                                {"Command6", w.Command6}, {"Command7", w.Command7}};
    QPushButton *control = buttons.value(button);
    QVERIFY(control);
    control->setText(caption);
    QStyleOptionButton option;
    option.initFrom(control);
    option.text = caption;
    const QRect area = control->style()->subElementRect(QStyle::SE_PushButtonContents, &option, control);
    const QRect used = control->fontMetrics().boundingRect(area, Qt::AlignCenter, caption);
    QVERIFY2(
        area.contains(used),
        qPrintable(
            QString("needs %1x%2 in %3x%4").arg(used.width()).arg(used.height()).arg(area.width()).arg(area.height())));
}

void TestKoxTexts::titlesFit()
{
    TestableFMain w(m_fakes.services());
    for (const QGroupBox *frame : {w.Frame1, w.Frame2})
        QVERIFY(frame->fontMetrics().horizontalAdvance(frame->title()) <= frame->contentsRect().width());
    QStyleOptionButton option;
    option.initFrom(w.Check1);
    option.text = w.Check1->text();
    const QRect area = w.Check1->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, w.Check1);
    const QRect used = w.Check1->fontMetrics().boundingRect(area, Qt::AlignLeft | Qt::AlignVCenter, option.text);
    QVERIFY2(
        area.contains(used),
        qPrintable(
            QString("needs %1x%2 in %3x%4").arg(used.width()).arg(used.height()).arg(area.width()).arg(area.height())));
}

void TestKoxTexts::logIsRead()
{
    TestableFMain w(m_fakes.services());
    w.Session().setWebFilePath("ftp://127.0.0.1/a.txt");  // refused at once: one log line
    w.Command6->click();
    const QString last = w.logText().section("\r\n", -1);
    QVERIFY(!last.isEmpty());
    QAccessibleInterface *log = QAccessible::queryAccessibleInterface(w.Text3);
    QVERIFY(log);
    QVERIFY(log->text(QAccessible::Value).contains(last));
    QVERIFY(log->textInterface());
    QVERIFY(log->textInterface()->text(0, log->textInterface()->characterCount()).contains(last));
}

// A long path without blanks in the log wraps instead of running out of sight.
void TestKoxTexts::longLogLineWraps()
{
    TestableFMain w(m_fakes.services());
    w.Session().setLocalFilePath("/tmp/" + QString("averyveryverylongfoldername").repeated(8) + "/list.txt");
    w.Session().setWebFilePath("ftp://127.0.0.1/a.txt");
    w.show();
    w.Command1->click();  // logs the backup path, then stops at the address
    QVERIFY(w.logText().contains(w.Session().LocalFilePath() + ".bak"));
    QCoreApplication::processEvents();
    QCOMPARE(w.Text3->horizontalScrollBar()->maximum(), 0);
    QVERIFY(w.Text3->verticalScrollBar()->maximum() > 0);
}

QTEST_MAIN(TestKoxTexts)
#include "tst_koxtexts.moc"
