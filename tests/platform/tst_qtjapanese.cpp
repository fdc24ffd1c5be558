// Message box buttons read Japanese, with Qt's shipped translation and without it,
// whatever the system's locale.
#include "qtjapanese.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// "はい(&Y)" and "&OK" read as "はい" and "OK": mnemonics differ between themes.
QString withoutMnemonic(QString text)
{
    static const QRegularExpression bracketed(QStringLiteral("\\(&.\\)$"));
    text.remove(bracketed);
    return text.remove(QLatin1Char('&'));
}

QStringList buttonTexts()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("tuvelv"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
    QStringList texts;
    for (QMessageBox::StandardButton b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok, QMessageBox::Cancel})
        texts << withoutMnemonic(box.button(b)->text());
    return texts;
}

const QStringList Japanese{QStringLiteral("はい"), QStringLiteral("いいえ"), QStringLiteral("OK"),
                           QStringLiteral("キャンセル")};
const QStringList English{QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("OK"), QStringLiteral("Cancel")};

}  // namespace

class TestQtJapanese : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void buttonsReadJapanese_data();
    void buttonsReadJapanese();
};

void TestQtJapanese::initTestCase()
{
    // An English system: the texts must not depend on it.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(buttonTexts(), English);
}

void TestQtJapanese::buttonsReadJapanese_data()
{
    QTest::addColumn<bool>("shipped");
    QTest::newRow("shipped translation") << true;
    QTest::newRow("own button texts") << false;
}

void TestQtJapanese::buttonsReadJapanese()
{
    QFETCH(bool, shipped);
    QTemporaryDir empty;
    // The build puts the programs and translations/ into the app folder.
    const QString programFolder = shipped ? QStringLiteral(TUVEL_APP_DIR) : empty.path();
    {
        const common::JapaneseQtTexts texts(programFolder);
        QCOMPARE(texts.catalogueLoaded(), shipped);
        QCOMPARE(buttonTexts(), Japanese);
        // Only the translation file knows texts beyond the buttons.
        const QString copy = QCoreApplication::translate("QLineEdit", "&Copy");
        QCOMPARE(copy != QLatin1String("&Copy"), shipped);
    }
    QCOMPARE(buttonTexts(), English);
}

QTEST_MAIN(TestQtJapanese)
#include "tst_qtjapanese.moc"
