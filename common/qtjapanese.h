#pragma once
// Qt's own texts (message box buttons and the like) in Japanese, whatever the
// system's locale: the users and their data are Japanese.
#include <QString>

#include <memory>

class QTranslator;

namespace common {

class JapaneseQtTexts {
public:
    // Installs "qtbase_ja.qm" from programFolder's "translations" folder when it is
    // there, and always a small table of the standard button texts under it, so
    // はい / いいえ / OK / キャンセル show even without the file. Needs the
    // application object; the texts stay until this object goes.
    explicit JapaneseQtTexts(const QString &programFolder);
    ~JapaneseQtTexts();
    JapaneseQtTexts(const JapaneseQtTexts &) = delete;
    JapaneseQtTexts &operator=(const JapaneseQtTexts &) = delete;

    // Whether Qt's translation file was found and loaded.
    bool catalogueLoaded() const { return m_catalogue != nullptr; }

    // programFolder + "/translations", where the programs ship the file.
    static QString folder(const QString &programFolder);

private:
    std::unique_ptr<QTranslator> m_buttons;
    std::unique_ptr<QTranslator> m_catalogue;
};

}  // namespace common
