#pragma once
// IBus, through the bus ibus-daemon runs. IBus serves every window with one global
// engine: for the typing it is switched to a plain keyboard engine, then back, which
// keeps the engine's own mode (Mozc's hiragana, say).

#include "../services.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <functional>

namespace platform::freedesktop {

class IBusInputMethod : public InputMethod {
public:
    // address: where ibus-daemon's bus is looked up anew at each suspend, since
    // the daemon may have been restarted; settle as for fcitx5.
    IBusInputMethod(std::function<QString()> address, std::function<void()> settle);
    Suspension suspend() override;
    Resumption resume() override;
    // While this says so, the viewer's own engine types the key: nothing is switched.
    void setEngineTyping(std::function<bool()> engineTyping) { m_engineTyping = std::move(engineTyping); }

private:
    std::function<bool()> m_engineTyping;
    std::function<QString()> m_address;
    std::function<void()> m_settle;
    QString m_previousEngine;  // the engine to put back; empty when nothing was switched
};

// What ibus-daemon says of its engines, each asked within InputMethodCallBoundMs.
struct IBusEngineAnswer {
    bool answered = false;
    QString name;  // empty: no engine yet
};
IBusEngineAnswer ibusGlobalEngine(const QDBusConnection &bus);
QStringList ibusActiveEngines(const QDBusConnection &bus);
QDBusMessage setGlobalEngine(const QDBusConnection &bus, const QString &name);

// Whether an engine types keys as they are: IBus's own keyboard engines ("xkb:jp::jpn").
bool isPlainEngine(const QString &engineName);

// The plain engine to type with: the user's first keyboard engine, else the Japanese one.
QString plainEngineAmong(const QStringList &activeEngines);

}  // namespace platform::freedesktop
