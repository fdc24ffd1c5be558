// Finding the data files: the data box, list.txt, and the bad input both may hold.
#include "catalogue/catalogue.h"
#include "catalogue/keyfile.h"
#include "cp932.h"
#include "pathbytes.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <future>
#include "bytename.h"
#include "fifo.h"

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write(bytes);
}

// A program folder with an empty data box.
struct ProgramFolder {
    QTemporaryDir dir;
    ProgramFolder() { QDir(dir.path()).mkdir(QStringLiteral("tuveldbox")); }
    QString folder() const { return QDir::toNativeSeparators(dir.path()); }
    QString box(const QString &name = {}) const { return dir.filePath(QStringLiteral("tuveldbox/") + name); }
    void registry(const QStringList &lines) const
    {
        QByteArray bytes;
        for (const QString &line : lines)
            bytes += common::cp932::encode(line) + "\r\n";
        writeFile(dir.filePath(QStringLiteral("list.txt")), bytes);
    }
    // The data box's ordinary files as the platform lists them, unsorted.
    QStringList listing() const { return QDir(box()).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted); }
};

QStringList locations(const QList<CatalogueRecord> &records)
{
    QStringList result;
    for (const CatalogueRecord &r : records)
        result << r.location;
    return result;
}

QStringList names(const QList<CatalogueRecord> &records)
{
    QStringList result;
    for (const CatalogueRecord &r : records)
        result << r.list.name;
    return result;
}

// Fails the whole run rather than hang it when a read blocks.
QList<CatalogueRecord> loadWithin(const QString &folder, std::chrono::seconds limit)
{
    auto load = std::async(std::launch::async, [folder] { return loadCatalogueRecords(folder); });
    if (load.wait_for(limit) != std::future_status::ready)
        qFatal("loading the catalogue blocked");
    return load.get();
}

const QByteArray pngBytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\x1f\x15\xc4\x89", 33);

}  // namespace

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void dataBoxInListingOrder();
    void registeredAfterDataBox_data();
    void registeredAfterDataBox();
    void relativeRegistryPathsFollowTheCurrentDirectory();
    void missingPlacesGiveNoLists();
    void badInputStillComesUp();
    void namesThatAreNotUtf8_data();
    void namesThatAreNotUtf8();
};

void TestCatalogue::dataBoxInListingOrder()
{
    ProgramFolder p;
    for (int i = 0; i < 12; ++i)
        writeFile(p.box(QStringLiteral("f%1.txt").arg(i)), "list " + QByteArray::number(i) + "\r\ndesc\r\n");
    const QList<CatalogueRecord> records = loadCatalogueRecords(p.folder());
    QStringList expected;
    for (const QString &name : p.listing())
        expected << dataBoxFolder(p.folder()) + name;
    QCOMPARE(locations(records), expected);
    for (const CatalogueRecord &r : records) {
        QCOMPARE(r.origin, ListOrigin::DataBox);
        QCOMPARE(r.list.description, QStringLiteral("desc"));
        QVERIFY(r.list.lastModified.isValid());
    }
}

void TestCatalogue::registeredAfterDataBox_data()
{
    QTest::addColumn<QStringList>("registry");  // "@box/x" stands for the data box file x
    QTest::addColumn<QStringList>("expectedNames");
    QTest::newRow("one existing, one missing")
        << QStringList{"@ext/e.txt", "@ext/missing.txt"} << QStringList{"a", "E"};
    QTest::newRow("empty line, folder, file") << QStringList{"", "@ext", "@ext/e.txt"} << QStringList{"a", "E"};
    QTest::newRow("data box file again") << QStringList{"@box/a.txt"} << QStringList{"a", "a"};
    QTest::newRow("same file twice") << QStringList{"@ext/e.txt", "@ext/e.txt"} << QStringList{"a", "E", "E"};
    QTest::newRow("blank around a path is part of it") << QStringList{" @ext/e.txt", "@ext/e.txt "} << QStringList{"a"};
}

void TestCatalogue::registeredAfterDataBox()
{
    QFETCH(QStringList, registry);
    QFETCH(QStringList, expectedNames);
    ProgramFolder p;
    writeFile(p.box("a.txt"), "a\r\n");
    QTemporaryDir ext;
    writeFile(ext.filePath("e.txt"), "E\r\nregistered\r\nhttp://127.0.0.1/e.txt\r\n");
    QStringList lines;
    for (QString line : registry)
        lines << line.replace("@ext", ext.path()).replace("@box/", p.box());
    p.registry(lines);

    const QList<CatalogueRecord> records = loadCatalogueRecords(p.folder());
    QCOMPARE(names(records), expectedNames);
    QCOMPARE(records.first().origin, ListOrigin::DataBox);
    // Registered lists keep the path exactly as the registry line has it.
    QStringList registered;
    for (int i = 1; i < records.size(); ++i) {
        QCOMPARE(records[i].origin, ListOrigin::Registered);
        registered << records[i].location;
    }
    for (const QString &location : registered)
        QVERIFY(lines.contains(location));
}

void TestCatalogue::relativeRegistryPathsFollowTheCurrentDirectory()
{
    ProgramFolder p;
    QTemporaryDir cwd;
    QDir(cwd.path()).mkdir("lists");
    writeFile(cwd.filePath("lists/r.txt"), "relative\r\n");
    p.registry({"lists/r.txt"});
    const QString saved = QDir::currentPath();
    QVERIFY(QDir::setCurrent(p.folder()));
    QVERIFY(loadCatalogueRecords(p.folder()).isEmpty());  // not beside the program
    QVERIFY(QDir::setCurrent(cwd.path()));
    const QList<CatalogueRecord> records = loadCatalogueRecords(p.folder());
    QDir::setCurrent(saved);
    QCOMPARE(names(records), QStringList{"relative"});
    QCOMPARE(records.first().location, QStringLiteral("lists/r.txt"));
}

void TestCatalogue::missingPlacesGiveNoLists()
{
    QTemporaryDir dir;
    QVERIFY(loadCatalogueRecords(dir.path()).isEmpty());
    QVERIFY(loadCatalogueRecords(dir.filePath("nowhere")).isEmpty());
    // list.txt that is a folder, or a FIFO nobody writes to.
    QDir(dir.path()).mkdir("list.txt");
    QVERIFY(loadCatalogueRecords(dir.path()).isEmpty());
    QTemporaryDir other;
    MAKE_FIFO_OR_SKIP(other.filePath("list.txt"));
    QVERIFY(loadWithin(other.path(), std::chrono::seconds(20)).isEmpty());
}

void TestCatalogue::badInputStillComesUp()
{
    ProgramFolder p;
    writeFile(p.box("picture.png"), pngBytes);
    writeFile(p.box("empty.txt"), "");
    writeFile(p.box("three.txt"), "three\r\nno keys\r\nhttp://127.0.0.1/three.txt");
    writeFile(p.box("lf.txt"), "name\ndescription\naddress\nkey\n");
    writeFile(p.box("invalid.txt"), "ok\x82\r\n\xff\xfe\xa0\x80\r\nhttp://127.0.0.1/\r\n");
    writeFile(p.box(".hidden.txt"), "hidden\r\n");
    QDir(p.box()).mkdir("sub");
    writeFile(p.box("sub/inner.txt"), "inner\r\n");
    const QString fifo = p.box("fifo");
    MAKE_FIFO_OR_SKIP(fifo);

    QTemporaryDir ext;
    writeFile(ext.filePath("good.txt"), "good\r\n");
    const QString extFifo = ext.filePath("fifo");
    MAKE_FIFO_OR_SKIP(extFifo);
    p.registry({ext.filePath("missing.txt"), ext.path(), "", extFifo, "/dev/zero", "/dev/null",
                ext.filePath("good.txt"), p.box(".hidden.txt")});

    const QList<CatalogueRecord> records = loadWithin(p.folder(), std::chrono::seconds(20));

    QStringList boxNames;
    QList<CatalogueRecord> box;
    for (const CatalogueRecord &r : records) {
        if (r.origin == ListOrigin::DataBox) {
            box << r;
            boxNames << QFileInfo(r.location).fileName();
        }
    }
    // Ordinary, visible files only; the FIFO, the hidden file and the folder stay out.
    QCOMPARE(boxNames, p.listing());
    QCOMPARE(QSet<QString>(boxNames.begin(), boxNames.end()),
             (QSet<QString>{"picture.png", "empty.txt", "three.txt", "lf.txt", "invalid.txt"}));
    for (const CatalogueRecord &r : box) {
        const QString file = QFileInfo(r.location).fileName();
        if (file == "empty.txt") {
            QCOMPARE(r.list.name, QString());
            QCOMPARE(r.list.description, QString());
            QCOMPARE(r.list.address, QString());
        } else if (file == "three.txt") {
            QCOMPARE(r.list.address, QStringLiteral("http://127.0.0.1/three.txt"));
        } else if (file == "lf.txt") {
            QCOMPARE(r.list.name, QStringLiteral("name\ndescription\naddress\nkey\n"));
            QCOMPARE(r.list.description, QString());
        } else if (file == "invalid.txt") {
            QVERIFY(r.list.name.startsWith("ok"));
            QCOMPARE(r.list.address, QStringLiteral("http://127.0.0.1/"));
        }
        QVERIFY(r.list.lastModified.isValid());
    }
    // Registered: only the ordinary files, in registry order (a hidden file named
    // outright is still a file).
    QStringList registered;
    for (const CatalogueRecord &r : records)
        if (r.origin == ListOrigin::Registered)
            registered << r.location;
    QCOMPARE(registered, (QStringList{ext.filePath("good.txt"), p.box(".hidden.txt")}));
    QCOMPARE(records.size(), 7);
}

void TestCatalogue::namesThatAreNotUtf8_data()
{
    QTest::addColumn<QByteArray>("fileName");
    QTest::newRow("ff fe") << QByteArray("bad\xff\xfename.txt");
    QTest::newRow("shift-jis") << QByteArray("\x88\xa5\x8e\x41.txt");  // 挨拶 in CP932
    QTest::newRow("cut utf-8") << QByteArray("\xe3\x81.txt");
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xb3\xbf.txt");
    QTest::newRow("valid utf-8") << QByteArray("\xe6\x8c\xa8\xe6\x8b\xb6.txt");
}

// Every file of the data box is listed, whatever bytes its name is made of, and the
// row's storage location opens that very file.
void TestCatalogue::namesThatAreNotUtf8()
{
    QFETCH(QByteArray, fileName);
    ProgramFolder p;
    const QByteArray path = QFile::encodeName(p.box()) + fileName;
    WRITE_BYTE_NAMED_OR_SKIP(path, QByteArray("name\r\ndesc\r\nhttp://127.0.0.1/\r\n#[h]\r\nkey\r\n"));
    const auto removeFile = qScopeGuard([&] { testbytename::remove(path); });
    writeFile(p.box("plain.txt"), "plain\r\n");

    const QList<CatalogueRecord> records = loadCatalogueRecords(p.folder());
    QCOMPARE(records.size(), 2);
    const auto found =
        std::find_if(records.begin(), records.end(), [](const CatalogueRecord &r) { return r.list.name == "name"; });
    QVERIFY(found != records.end());
    QCOMPARE(common::pathToBytes(found->location), path);
    QCOMPARE(found->list.description, QStringLiteral("desc"));
    QVERIFY(found->list.lastModified.isValid());
    const KeyList keys = loadKeyList(found->location);
    QCOMPARE(keys.name, QStringLiteral("name"));
    QCOMPARE(keys.keys.count(), 2);
    QCOMPARE(keys.keys.text(1), u"key");
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
