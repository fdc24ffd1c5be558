// FMain: the key list and the heading picker.
#include "main/fmain.h"

#include "keylistmodel.h"

void FMain::LoadKeys(const QString &) {}

int FMain::AddKeyRow(const QString &text, bool bold)
{
    return m_keys->addRow(text, bold);
}

void FMain::Combo1_Click(const QString &) {}
