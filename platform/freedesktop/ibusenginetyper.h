#pragma once
// Types a key through the viewer's own IBus engine when IBus is the user's input
// framework: the engine is made the global engine once the user's window has the focus,
// commits the key's text and forwards its named keys, and the user's engine is put back
// afterwards, in the mode it was in. No keymap changes and no input method is switched
// off. When that way is closed (IBus not running, the engine not installed, another
// viewer serving it, a window that takes no keys through IBus) the key goes to the typer
// this one wraps, as before; without one, the key is refused with the reason.

#include "../services.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <functional>
#include <memory>

namespace platform::freedesktop {

class IBusKeyEngine;

class IBusEngineTyper : public KeyTyper {
public:
    // address: where ibus-daemon's bus is, looked up at each key; settle: waits until the
    // window just switched to has the focus.
    IBusEngineTyper(KeyTyper *fallback, std::function<QString()> address, std::function<void()> settle);
    ~IBusEngineTyper() override;

    void beginKey(const QList<KeyStroke> &strokes) override;
    Result type(const QList<KeyStroke> &strokes, bool wait) override;
    Result keyDone() override;
    void setOneKeyAtATime(bool on) override
    {
        if (m_fallback)
            m_fallback->setOneKeyAtATime(on);
    }

    // Whether the key under way goes through the engine.
    bool engaged() const { return !m_previousEngine.isEmpty(); }

private:
    bool connectToDaemon();
    QString engage();  // why the engine cannot type the key; empty when it will
    bool switchTo(const QString &engine, int boundMs);
    bool waitForSteadyFocus(int boundMs);
    Result putBack();

    KeyTyper *m_fallback;
    std::function<QString()> m_address;
    std::function<void()> m_settle;
    QString m_connectionName;  // one per typer
    QString m_busAddress;
    std::unique_ptr<IBusKeyEngine> m_engine;
    bool m_engineKnown = false;  // the daemon has the engine's component
    QString m_previousEngine;    // the user's engine while ours types; empty otherwise
    QString m_refusal;           // why not, for a key refused for want of a fallback
    QElapsedTimer m_sinceFocusChange;
};

}  // namespace platform::freedesktop
