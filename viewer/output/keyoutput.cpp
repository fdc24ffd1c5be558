#include "keyoutput.h"

#include "catalogue/keylistmodel.h"
#include "catalogue/keylistpane.h"
#include "catalogue/keylistview.h"
#include "escapekeys.h"
#include "inputmethodoff.h"
#include "keystring.h"
#include "taskchange.h"

#include <QAbstractItemView>

KeyOutput::KeyOutput(KeyListPane &keyList, platform::Services services, QWidget *window, MessageBox message,
                     Announce announce)
    : m_keyList(keyList),
      m_services(services),
      m_window(window),
      m_message(std::move(message)),
      m_announce(std::move(announce))
{}

void KeyOutput::sendCurrentKey()
{
    const KeyListModel *keys = m_keyList.model();
    if (keys->count() == 0)
        return;  // nothing is switched, typed or focused
    // The key is checked before the switch, so that a key that cannot be typed (too
    // long, a lone brace) is reported here and the user's window gets no Alt+Tab.
    // Nothing runs during the switch, so the current row cannot change meanwhile.
    const int row = m_keyList.view()->currentRow();
    const common::ParsedKeyString parsed =
        row < 0 ? common::ParsedKeyString{} : common::parseKeyString(escapeKeys(keys->text(row)));
    if (!parsed.ok()) {
        ReportKeyRefused(parsed.error);
        TakeFocusBack();
        return;
    }
    if (m_services.keyEvents)
        MTaskChange::ChangeTask(*m_services.keyEvents, 100);
    if (row < 0)
        return;
    platform::KeyTyper::Result result;
    platform::InputMethod::Resumption back;
    {
        // The user's window now has the focus, and with it the input method the keys
        // would go through. It is off while they are typed and back as it was before
        // the viewer takes the focus back (the way back leaves that window's state alone).
        platform::InputMethodOff inputMethodOff(m_services.inputMethod);
        if (!inputMethodOff.ok()) {
            ReportInputMethodStaysOn(inputMethodOff.error());
            TakeFocusBack();
            return;
        }
        if (m_services.keyTyper)
            result = m_services.keyTyper->type(parsed.strokes, true);
        back = inputMethodOff.putBack();
    }
    if (!result.ok)
        ReportKeyRefused(result.error);
    // The user would find their input method off with no word of why.
    if (!back.ok)
        Report(QStringLiteral(
                   "入力メソッド（日本語入力）を元に戻せませんでした。入力メソッドをオンに切り替えてお使いください。"),
               back.error);
    TakeFocusBack();
    if (result.ok && back.ok)
        Tell(QStringLiteral("キーを入力しました。"));
}

void KeyOutput::copyCurrentKey()
{
    const KeyListModel *keys = m_keyList.model();
    if (keys->count() == 0)
        return;
    const int row = m_keyList.view()->currentRow();
    if (row < 0)
        return;
    // The text as it stands: nothing is escaped for the clipboard.
    if (m_services.clipboard && !m_services.clipboard->setText(keys->text(row))) {
        Report(QStringLiteral("クリップボードにコピーできませんでした。"), {});
        return;
    }
    Tell(QStringLiteral("キーをコピーしました。"));
}

void KeyOutput::ReportKeyRefused(const QString &reason)
{
    Report(QStringLiteral("このキーは出力できませんでした。"), reason);
}

// Keys typed through an input method that is on arrive converted (romaji to kana,
// Enter taken as "commit"): nothing is typed rather than a wrong key.
void KeyOutput::ReportInputMethodStaysOn(const QString &reason)
{
    Report(QStringLiteral("入力メソッド（日本語入力）をオフにできないため、キーを入力しませんでした。"
                          "Ctrl+C でキーをコピーして、貼り付けてお使いください。"),
           reason);
}

// A message box, the reason on a line of its own. Not announced as well: a screen reader
// reads the box as it opens, and would say the same words twice.
void KeyOutput::Report(const QString &what, const QString &reason)
{
    m_message(reason.isEmpty() ? what : what + QStringLiteral("\n") + reason);
}

void KeyOutput::Tell(const QString &text)
{
    if (m_announce)
        m_announce(text);
}

// Back to the viewer, so that the next key can be picked at once.
void KeyOutput::TakeFocusBack()
{
    m_window->activateWindow();
    m_window->raise();
    m_keyList.view()->activeView()->setFocus(Qt::OtherFocusReason);
}
