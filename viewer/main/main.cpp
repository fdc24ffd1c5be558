#include "catalogue/datafolder.h"
#include "chrome/viewerstyle.h"
#include "fmain.h"
#include "qtjapanese.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

namespace {

// The viewer takes keys, never text, so it runs without an input method. With one, its
// own input context would count as the focused one with fcitx5 until the user's window
// sends its first key, and the viewer asks about the user's input method before that.
// Only the application object reads the choice: the variables are put back at once, for
// the programs the viewer starts (an editor opened on a data file needs its input method).
// Qt 6.7 and later read QT_IM_MODULES (a list, which fcitx5 suggests on some desktops)
// before QT_IM_MODULE: both say "none".
class WithoutInputMethod {
public:
    WithoutInputMethod()
    {
        for (Saved &saved : m_saved) {
            saved.had = qEnvironmentVariableIsSet(saved.name);
            saved.value = qgetenv(saved.name);
            qputenv(saved.name, "none");
        }
    }
    void restore() const
    {
        for (const Saved &saved : m_saved) {
            if (saved.had)
                qputenv(saved.name, saved.value);
            else
                qunsetenv(saved.name);
        }
    }

private:
    struct Saved {
        const char *name;
        bool had = false;
        QByteArray value;
    };
    Saved m_saved[2] = {{"QT_IM_MODULES", false, {}}, {"QT_IM_MODULE", false, {}}};
};

// A user of the earlier package, which kept everything in its own folder, may have added
// lists to its data box; the upgrade leaves them there, out of the data folder's sight.
// Asked on the first start alone; the lists there stay, whatever the answer.
void offerListsLeftBehind(const DataFolder &data, const QString &title)
{
    const QString earlier = QString::fromLatin1(EarlierPackageFolder);
    const QStringList names = listsLeftBehind(data, earlier);
    if (names.isEmpty())
        return;
    const QString where = QDir::toNativeSeparators(earlier + QStringLiteral("/tuveldbox"));
    const auto answer = QMessageBox::question(
        nullptr, title,
        QStringLiteral("以前のバージョンのデータボックス（%1）に、データフォルダーにないリストが %2 個あります。\n"
                       "データフォルダーにコピーしますか？（元のファイルはそのまま残ります）")
            .arg(where, QString::number(names.size())),
        QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes && !copyListsLeftBehind(data, earlier, names))
        QMessageBox::warning(nullptr, title,
                             QStringLiteral("リストをコピーできませんでした。元のリストは %1 にあります。").arg(where));
}

}  // namespace

int main(int argc, char *argv[])
{
    platform::prepareWindowSystem();
    const WithoutInputMethod withoutInputMethod;
    QApplication application(argc, argv);
    withoutInputMethod.restore();
    // The style the desktop or the user chose (QT_STYLE_OVERRIDE, -style), its toolbar chevron drawn.
    QApplication::setStyle(new ViewerStyle(QApplication::style()->name()));
    QApplication::setApplicationName(QStringLiteral("tuvelv"));
    const common::AppInfo app = common::AppInfo::current(QStringLiteral("tuvelv"));
    const common::JapaneseQtTexts japanese(app.programFolder);
    // Beside the program in a portable folder; the user's own folder when installed.
    const DataFolder data = locateDataFolder(app.programFolder);
    const bool firstStart =
        data.kind == DataFolder::Installed && !data.folder.isEmpty() && !QFileInfo::exists(data.folder);
    if (!prepareDataFolder(data))
        QMessageBox::warning(nullptr, app.title,
                             QStringLiteral("データフォルダーを作成できませんでした：") +
                                 (data.folder.isEmpty()
                                      ? QStringLiteral("ホームフォルダーがありません（環境変数 HOME も XDG_DATA_HOME も"
                                                       "設定されていません）")
                                      : QDir::toNativeSeparators(data.folder)));
    else if (firstStart)
        offerListsLeftBehind(data, app.title);
    auto services = platform::createNativeServices();
    FMain window(services->services(), app, data);
    window.show();
    return application.exec();
}
