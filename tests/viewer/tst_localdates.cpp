// Dates the viewer shows are local wall-clock time, in Tokyo as anywhere else.
#include "catalogue/cataloguemodel.h"
#include "main/fmain.h"
#include "windowcontrols.h"
#include "cp932.h"
#include "fakeservices.h"
#include "testwindow.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

class TestLocalDates : public QObject {
    Q_OBJECT
private slots:
    void catalogueAndDatePanelShowLocalTime_data();
    void catalogueAndDatePanelShowLocalTime();
};

void TestLocalDates::catalogueAndDatePanelShowLocalTime_data()
{
    QTest::addColumn<QDateTime>("utc");
    QTest::addColumn<QString>("text");
    const auto utc = [](int y, int mo, int d, int h, int mi, int s) {
        return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
    };
    QTest::newRow("same day") << utc(2026, 12, 4, 9, 38, 31) << "2026/12/04 18:38:31";
    QTest::newRow("next day in Tokyo") << utc(2026, 12, 4, 20, 5, 1) << "2026/12/05 5:05:01";
    QTest::newRow("local midnight is the date alone") << utc(2026, 12, 4, 15, 0, 0) << "2026/12/05";
    QTest::newRow("UTC midnight is not") << utc(2026, 12, 4, 0, 0, 0) << "2026/12/04 9:00:00";
}

void TestLocalDates::catalogueAndDatePanelShowLocalTime()
{
    QFETCH(QDateTime, utc);
    QFETCH(QString, text);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("tuveldbox")));
    {
        QFile f(dir.filePath(QStringLiteral("tuveldbox/a.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(common::cp932::encode(QStringLiteral("a\r\ndescription\r\n")));
        f.flush();
        QVERIFY(f.setFileTime(utc, QFileDevice::FileModificationTime));
    }
    platform::fake::FakeServiceSet fakes;
    TestWindow window(fakes.services(), testAppInfo(QDir::toNativeSeparators(dir.path())));
    const CatalogueModel *model = catalogueModel(window);
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->data(model->index(0, CatalogueModel::LastUpdateColumn), Qt::DisplayRole).toString(), text);
    QCOMPARE(panelText(window, QStringLiteral("date")), QStringLiteral("date ") + text);
}

int main(int argc, char *argv[])
{
    // Before anything reads the time: the users' zone, nine hours ahead of UTC.
    qputenv("TZ", "Asia/Tokyo");
    tzset();
    QApplication app(argc, argv);
    TestLocalDates test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_localdates.moc"
