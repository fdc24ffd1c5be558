// FMain: direct output and clipboard copy of the current key.
#include "main/fmain.h"

void FMain::ListView2_DblClick() {}

void FMain::mnuEditSendKey_Click()
{
    ListView2_DblClick();
}

void FMain::mnuEditCopy_Click() {}

QString FMain::EscapeKeys(const QString &keyText) const
{
    return keyText;
}
