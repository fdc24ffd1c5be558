#include "commandbar.h"

#include <QAction>
#include <QToolBar>

void CommandBar::addButton(const QString &key, const QString &caption, const QIcon &icon, const QString &toolTip,
                           std::function<void()> command)
{
    const QString tip = toolTip.isEmpty() ? caption : toolTip;
    QAction *action = m_toolbar->addAction(icon, caption);
    action->setData(key);
    action->setToolTip(tip);
    if (QWidget *button = m_toolbar->widgetForAction(action)) {
        button->setAccessibleName(tip);
        button->setObjectName(key);
    }
    m_commands[key] = std::move(command);
}

void CommandBar::press(const QString &key) const
{
    const auto found = m_commands.find(key);
    if (found != m_commands.end() && found->second)
        found->second();
}
