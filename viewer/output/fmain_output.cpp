// FMain: direct output and clipboard copy of the current key.
#include "main/fmain.h"

#include "catalogue/keylistmodel.h"
#include "catalogue/keylistview.h"
#include "escapekeys.h"
#include "taskchange.h"

#include <QAbstractItemView>

void FMain::ListView2_DblClick()
{
    if (m_keys->count() == 0)
        return;  // nothing is switched, typed or focused
    // The switch comes first; the row is read afterwards.
    if (m_services.keyEvents)
        MTaskChange::ChangeTask(*m_services.keyEvents, 100);
    const int row = ListView2->currentRow();
    if (row < 0)
        return;
    const QString keyString = EscapeKeys(m_keys->text(row));
    const platform::KeyTyper::Result result =
        m_services.keyTyper ? m_services.keyTyper->sendKeys(keyString, true) : platform::KeyTyper::Result{};
    if (!result.ok) {
        QString text = QStringLiteral("このキーは出力できませんでした。");
        if (!result.error.isEmpty())
            text += QStringLiteral("\n") + result.error;
        showMessage(text);
    }
    // Back to the viewer, so that the next key can be picked at once.
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
