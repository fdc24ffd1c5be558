// FMain: direct output and clipboard copy of the current key.
#include "main/fmain.h"

#include "catalogue/keylistmodel.h"
#include "catalogue/keylistview.h"
#include "escapekeys.h"
#include "taskchange.h"
#include "platform/keystring.h"

#include <QAbstractItemView>

void FMain::ListView2_DblClick()
{
    if (m_keys->count() == 0)
        return;  // nothing is switched, typed or focused
    // The key is checked before the switch, so that a key that cannot be typed (too
    // long, a lone brace) is reported here and the user's window gets no Alt+Tab.
    // Nothing runs during the switch, so the current row cannot change meanwhile.
    const int row = ListView2->currentRow();
    const QString keyString = row < 0 ? QString() : EscapeKeys(m_keys->text(row));
    if (row >= 0) {
        const platform::ParsedKeyString parsed = platform::parseKeyString(keyString);
        if (!parsed.ok()) {
            ReportKeyRefused(parsed.error);
            TakeFocusBack();
            return;
        }
    }
    if (m_services.keyEvents)
        MTaskChange::ChangeTask(*m_services.keyEvents, 100);
    if (row < 0)
        return;
    const platform::KeyTyper::Result result =
        m_services.keyTyper ? m_services.keyTyper->sendKeys(keyString, true) : platform::KeyTyper::Result{};
    if (!result.ok)
        ReportKeyRefused(result.error);
    TakeFocusBack();
}

void FMain::ReportKeyRefused(const QString &reason)
{
    QString text = QStringLiteral("このキーは出力できませんでした。");
    if (!reason.isEmpty())
        text += QStringLiteral("\n") + reason;
    showMessage(text);
}

// Back to the viewer, so that the next key can be picked at once.
void FMain::TakeFocusBack()
{
    activateWindow();
    raise();
    ListView2->activeView()->setFocus(Qt::OtherFocusReason);
}

void FMain::mnuEditSendKey_Click()
{
    ListView2_DblClick();
}

void FMain::mnuEditCopy_Click()
{
    if (m_keys->count() == 0)
        return;
    const int row = ListView2->currentRow();
    if (row < 0)
        return;
    // The text as it stands: nothing is escaped for the clipboard.
    if (m_services.clipboard && !m_services.clipboard->setText(m_keys->text(row)))
        showMessage(QStringLiteral("クリップボードにコピーできませんでした。"));
}

QString FMain::EscapeKeys(const QString &keyText) const
{
    return escapeKeys(keyText);
}
