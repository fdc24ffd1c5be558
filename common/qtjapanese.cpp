#include "qtjapanese.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

namespace common {

namespace {

struct Text {
    const char *context;
    const char *source;
    const char *japanese;
};

// The button texts of the platform themes and message boxes, worded as Qt's own
// Japanese translation words them.
const Text buttonTexts[] = {
    {"QPlatformTheme", "OK", "OK"},
    {"QPlatformTheme", "Save", "保存"},
    {"QPlatformTheme", "Save All", "すべて保存"},
    {"QPlatformTheme", "Open", "開く"},
    {"QPlatformTheme", "&Yes", "はい(&Y)"},
    {"QPlatformTheme", "Yes to &All", "全てはい(&A)"},
    {"QPlatformTheme", "&No", "いいえ(&N)"},
    {"QPlatformTheme", "N&o to All", "全ていいえ(&O)"},
    {"QPlatformTheme", "Abort", "中止"},
    {"QPlatformTheme", "Retry", "再試行"},
    {"QPlatformTheme", "Ignore", "無視"},
    {"QPlatformTheme", "Close", "閉じる"},
    {"QPlatformTheme", "Cancel", "キャンセル"},
    {"QPlatformTheme", "Discard", "変更を破棄"},
    {"QPlatformTheme", "Help", "ヘルプ"},
    {"QPlatformTheme", "Apply", "適用"},
    {"QPlatformTheme", "Reset", "リセット"},
    {"QPlatformTheme", "Restore Defaults", "デフォルトに戻す"},
    {"QGnomeTheme", "&OK", "&OK"},
    {"QGnomeTheme", "&Save", "保存(&S)"},
    {"QGnomeTheme", "&Cancel", "キャンセル(&C)"},
    {"QGnomeTheme", "&Close", "閉じる(&C)"},
    {"QGnomeTheme", "Close without Saving", "保存せずに閉じる"},
    {"QMessageBox", "Show Details...", "詳細を表示..."},
    {"QMessageBox", "Hide Details...", "詳細を隠す..."},
};

class ButtonTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (!context || !sourceText)
            return {};
        for (const Text &text : buttonTexts)
            if (qstrcmp(context, text.context) == 0 && qstrcmp(sourceText, text.source) == 0)
                return QString::fromUtf8(text.japanese);
        return {};
    }
};

}  // namespace

JapaneseQtTexts::JapaneseQtTexts(const QString &programFolder) : m_buttons(std::make_unique<ButtonTranslator>())
{
    // The translator installed last is asked first: the file, when there, wins.
    QCoreApplication::installTranslator(m_buttons.get());
    auto catalogue = std::make_unique<QTranslator>();
    if (catalogue->load(QStringLiteral("qtbase_ja"), folder(programFolder))) {
        QCoreApplication::installTranslator(catalogue.get());
        m_catalogue = std::move(catalogue);
    }
}

JapaneseQtTexts::~JapaneseQtTexts()
{
    if (m_catalogue)
        QCoreApplication::removeTranslator(m_catalogue.get());
    QCoreApplication::removeTranslator(m_buttons.get());
}

QString JapaneseQtTexts::folder(const QString &programFolder)
{
    return QDir(QDir::fromNativeSeparators(programFolder)).filePath(QStringLiteral("translations"));
}

}  // namespace common
