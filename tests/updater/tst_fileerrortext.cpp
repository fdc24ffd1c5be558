// Our own Japanese words for why a file operation failed.
#include "fileerrortext.h"

#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

class TestFileErrorText : public QObject {
    Q_OBJECT
private slots:
    void words_data();
    void words();
    void missingFolderOnOpen();
};

// clang-format off
void TestFileErrorText::words_data()
{
    QTest::addColumn<int>("error");  // QFileDevice::FileError
    QTest::addColumn<int>("osError");
    QTest::addColumn<QString>("systemText");
    QTest::addColumn<QString>("expected");
    const QString denied = "ファイルやフォルダーへのアクセスが許可されていません";
    const QString full = "ディスクの空き容量が足りません";
    const QString missing = "ファイルまたはフォルダーが見つかりません";
    const QString inUse = "ファイルが他のプログラムで使用中です";
    QTest::newRow("permission on open") << int(QFileDevice::OpenError) << EACCES << "Permission denied" << denied;
    QTest::newRow("not permitted on rename") << int(QFileDevice::RenameError) << EPERM << "Operation not permitted" << denied;
    QTest::newRow("read-only file system") << int(QFileDevice::WriteError) << EROFS << "Read-only file system"
                                           << "読み取り専用の場所のため、書き込めません";
    QTest::newRow("disk full on write") << int(QFileDevice::WriteError) << ENOSPC << "No space left on device" << full;
    QTest::newRow("disk full on commit") << int(QFileDevice::RenameError) << ENOSPC << "No space left on device" << full;
    QTest::newRow("missing folder") << int(QFileDevice::OpenError) << ENOENT << "No such file or directory" << missing;
    QTest::newRow("a file where a folder should be") << int(QFileDevice::OpenError) << ENOTDIR << "Not a directory"
                                                      << "フォルダーが見つかりません";
    QTest::newRow("busy") << int(QFileDevice::RenameError) << EBUSY << "Device or resource busy" << inUse;
    QTest::newRow("program running") << int(QFileDevice::OpenError) << ETXTBSY << "Text file busy" << inUse;
    QTest::newRow("a folder, not a file") << int(QFileDevice::OpenError) << EISDIR << "Is a directory"
                                          << "ファイルではなくフォルダーです";
    // Without a known number the step is named and the system's text follows.
    QTest::newRow("unknown number, open") << int(QFileDevice::OpenError) << 0 << "アクセスが拒否されました。"
                                          << "ファイルを開けませんでした：アクセスが拒否されました。";
    QTest::newRow("unlisted number, write") << int(QFileDevice::WriteError) << EINVAL << "Invalid argument"
                                            << "ファイルに書き込めませんでした：Invalid argument";
    QTest::newRow("rename, no text") << int(QFileDevice::RenameError) << 0 << "" << "ファイルを置き換えられませんでした";
    QTest::newRow("unspecified") << int(QFileDevice::UnspecifiedError) << 0 << "Unknown error"
                                 << "ファイルの操作に失敗しました：Unknown error";
}
// clang-format on

void TestFileErrorText::words()
{
    QFETCH(int, error);
    QFETCH(int, osError);
    QFETCH(QString, systemText);
    QFETCH(QString, expected);
    QCOMPARE(fileErrorText(QFileDevice::FileError(error), osError, systemText), expected);
}

// errno read after a failed open names the cause.
void TestFileErrorText::missingFolderOnOpen()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("no folder/a.txt"));
    errno = 0;
    QVERIFY(!file.open(QIODevice::WriteOnly));
    QCOMPARE(fileErrorText(file, errno), QString("ファイルまたはフォルダーが見つかりません"));
}

QTEST_GUILESS_MAIN(TestFileErrorText)
#include "tst_fileerrortext.moc"
