#pragma once
// A toolbar whose buttons are told apart by their key text, compared exactly;
// each key runs the command bound to it (Toolbar2: the menus, Toolbar4: commands).
#include <QString>
#include <functional>
#include <map>

class QIcon;
class QToolBar;

class CommandBar {
public:
    explicit CommandBar(QToolBar *toolbar) : m_toolbar(toolbar) {}

    // The button's widget is named by its key; the tool tip is its accessible name.
    void addButton(const QString &key, const QString &caption, const QIcon &icon, const QString &toolTip,
                   std::function<void()> command);
    // Runs the command of the button with this key; any other key does nothing.
    void press(const QString &key) const;

private:
    QToolBar *m_toolbar;
    std::map<QString, std::function<void()>> m_commands;
};
