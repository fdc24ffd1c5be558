#pragma once
// An IBus engine of the viewer's own. Made the global engine for the time of one key, it
// puts the key's text into the focused field (CommitText) and sends its named keys
// (ForwardKeyEvent); ibus-daemon hands both to whichever input context has the focus, on
// X11 as on Wayland, and no keymap changes. The daemon asks this process's factory for
// the engine while it switches, so the switch must not block the thread that serves it.
//
// The engine is known to the daemon through a component file (tuvelv.xml, installed with
// the package) whose bus name this process owns while it types a key: a component
// registered at run time would take the user's engine away with it when the process leaves.

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QString>

namespace platform::freedesktop {

class IBusKeyEngine : public QDBusVirtualObject {
    Q_OBJECT
public:
    static QString engineName() { return QStringLiteral("tuvelv"); }
    static QString busName() { return QStringLiteral("org.freedesktop.IBus.Tuvelv"); }

    explicit IBusKeyEngine(const QDBusConnection &bus);
    ~IBusKeyEngine() override;
    // Serves the factory under the component's bus name, for the time of a key. False
    // when another process (a second viewer) serves it: two would type nothing.
    bool serve();
    void release();

    bool hasFocus() const { return m_focused; }
    bool commitText(const QString &text);
    // A press and its release; state holds the modifiers (IBus's masks, as X11's).
    bool forwardKey(quint32 keysym, quint32 evdevKeycode, quint32 state);

    QString introspect(const QString &path) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

signals:
    void focusChanged(bool focused);

private:
    QDBusConnection m_bus;
    QString m_enginePath;  // empty until the daemon has made the engine
    int m_made = 0;
    bool m_focused = false;
    bool m_serving = false;
    bool m_registered = false;

    bool emitSignal(const QString &member, const QList<QVariant> &arguments);
};

}  // namespace platform::freedesktop
