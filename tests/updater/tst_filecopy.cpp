// A copy over another file keeps the original's content, date and modes.
#include "filecopy.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestFileCopy : public QObject {
    Q_OBJECT
private slots:
    void keepsDateAndModes_data();
    void keepsDateAndModes();
};

void TestFileCopy::keepsDateAndModes_data()
{
    QTest::addColumn<int>("modes");  // QFileDevice::Permissions of owner, group, others
    using P = QFileDevice;
    QTest::newRow("owner writes, group reads") << int(P::ReadOwner | P::WriteOwner | P::ReadGroup);
    QTest::newRow("read-only for all") << int(P::ReadOwner | P::ReadGroup | P::ReadOther);
    QTest::newRow("owner only reads") << int(P::ReadOwner);
    QTest::newRow("executable") << int(P::ReadOwner | P::WriteOwner | P::ExeOwner | P::ReadGroup | P::ExeGroup);
}

void TestFileCopy::keepsDateAndModes()
{
    QFETCH(int, modes);
    QTemporaryDir dir;
    const QString from = dir.filePath("a.txt");
    const QString to = dir.filePath("a.txt.bak");
    const QDateTime stamp(QDate(2026, 3, 1), QTime(18, 38, 31));
    {
        QFile file(from);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old list\r\n");
        file.flush();
        QVERIFY(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    QVERIFY(QFile::setPermissions(from, QFileDevice::Permissions(modes)));
    {
        QFile older(to);  // an older backup is replaced
        QVERIFY(older.open(QIODevice::WriteOnly));
        older.write("older");
    }
    QCOMPARE(copyFileOver(from, to), QString());
    QFile copy(to);
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), QByteArray("old list\r\n"));
    QCOMPARE(copy.fileTime(QFileDevice::FileModificationTime), stamp);
    QCOMPARE(int(QFile::permissions(to) & 0x7077), modes);  // the user flags say what we may do
}

QTEST_GUILESS_MAIN(TestFileCopy)
#include "tst_filecopy.moc"
