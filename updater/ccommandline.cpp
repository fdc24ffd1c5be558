#include "ccommandline.h"

#include "commandline.h"

#include <QDebug>

void CCommandLine::GetLine(QString &s)
{
    QString rest;
    SetItems(common::splitCommandLine(s, &rest));
    s = rest;
}

void CCommandLine::SetItems(const QStringList &items)
{
    m_items = items;
    m_items.append(QString());
}

QString CCommandLine::Lines(int index) const
{
    if (index < MinIndex() || index > MaxIndex()) {
        qWarning("CCommandLine: no item %d (items 0..%d)", index, MaxIndex());
        return QString();
    }
    return m_items.at(index);
}
