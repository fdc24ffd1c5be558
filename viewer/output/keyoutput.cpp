#include "keyoutput.h"

#include "catalogue/keylistmodel.h"
#include "catalogue/keylistpane.h"
#include "catalogue/keylistview.h"
#include "escapekeys.h"
#include "focuspieces.h"
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
    if (row < 0) {
        KeyDone();
        return;
    }
    platform::KeyTyper::Result result;
    platform::InputMethod::Resumption back;
    bool typedAny = false;
    bool refusedHalfWay = false;
    // Without an input method the key goes in one go. With one, it goes in pieces: the
    // user's window has the focus now, and with it the input method a piece's text would
    // go through; it is off while the text is typed and back as it was before a key that
    // may take the focus to another field, which may keep a state of its own.
    const QList<KeyPiece> pieces = m_services.inputMethod && !parsed.strokes.isEmpty()
                                       ? splitAtFocusMoves(parsed.strokes)
                                       : QList<KeyPiece>{{true, parsed.strokes}};  // as it is
    if (m_services.keyTyper)
        m_services.keyTyper->beginKey(parsed.strokes);
    for (qsizetype i = 0; i < pieces.size() && result.ok; ++i) {
        const KeyPiece &piece = pieces.at(i);
        if (piece.movesFocus) {
            if (m_services.keyTyper)
                result = m_services.keyTyper->type(piece.strokes, true);
            typedAny = true;
            continue;
        }
        platform::InputMethodOff inputMethodOff(m_services.inputMethod);
        if (!inputMethodOff.ok()) {
            if (!typedAny) {
                KeyDone();
                ReportInputMethodStaysOn(inputMethodOff.error());
                TakeFocusBack();
                return;
            }
            ReportInputMethodStaysOnHalfWay(inputMethodOff.error());
            refusedHalfWay = true;
            break;
        }
        if (m_services.keyTyper) {
            m_services.keyTyper->setOneKeyAtATime(inputMethodOff.oneKeyAtATime());
            result = m_services.keyTyper->type(piece.strokes, true);
            m_services.keyTyper->setOneKeyAtATime(false);
        }
        typedAny = true;
        // The first failure is the one to tell; later fields may still come back.
        const platform::InputMethod::Resumption pieceBack = inputMethodOff.putBack();
        if (back.ok)
            back = pieceBack;
    }
    const bool typerDone = KeyDone();
    if (!result.ok)
        ReportKeyRefused(result.error);
    if (!back.ok)
        ReportInputMethodNotBack(back.error);
    TakeFocusBack();
    if (result.ok && back.ok && typerDone && !refusedHalfWay)
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

// A later field's input method could not be switched off: what came before it is typed.
void KeyOutput::ReportInputMethodStaysOnHalfWay(const QString &reason)
{
    Report(QStringLiteral("入力メソッド（日本語入力）をオフにできないため、キーを途中までしか入力しませんでした。"
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

// The user would find their input method off with no word of why.
void KeyOutput::ReportInputMethodNotBack(const QString &reason)
{
    Report(QStringLiteral(
               "入力メソッド（日本語入力）を元に戻せませんでした。入力メソッドをオンに切り替えてお使いください。"),
           reason);
}

// A typer that typed through the input method puts the user's back now.
bool KeyOutput::KeyDone()
{
    if (!m_services.keyTyper)
        return true;
    const platform::KeyTyper::Result done = m_services.keyTyper->keyDone();
    if (!done.ok)
        ReportInputMethodNotBack(done.error);
    return done.ok;
}

// Back to the viewer, so that the next key can be picked at once.
void KeyOutput::TakeFocusBack()
{
    if (!m_services.keyTyper || !m_services.keyTyper->leavesFocusThere()) {
        m_window->activateWindow();
        m_window->raise();
    }
    m_keyList.view()->activeView()->setFocus(Qt::OtherFocusReason);
}
