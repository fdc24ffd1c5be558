#pragma once
// Key output: the current key typed into the previously active window (after an
// Alt+Tab to it), or copied to the clipboard.
#include "services.h"

#include <QString>
#include <functional>

class QWidget;
class KeyListPane;

class KeyOutput {
public:
    using MessageBox = std::function<void(const QString &text)>;
    using Announce = std::function<void(const QString &text)>;

    // announce: tells assistive tools what happened (typed, copied, refused), which
    // they would not hear otherwise: the focus ends where it was.
    KeyOutput(KeyListPane &keyList, platform::Services services, QWidget *window, MessageBox message,
              Announce announce = {});

    // Switches to the previous window, types the escaped key there and comes back.
    void sendCurrentKey();
    // The key's text as it stands goes to the clipboard.
    void copyCurrentKey();

private:
    void ReportKeyRefused(const QString &reason);
    void ReportInputMethodStaysOn(const QString &reason);
    void ReportInputMethodStaysOnHalfWay(const QString &reason);
    void ReportInputMethodNotBack(const QString &reason);
    bool KeyDone();
    void TakeFocusBack();
    void Tell(const QString &text);
    void Report(const QString &what, const QString &reason);

    KeyListPane &m_keyList;
    platform::Services m_services;
    QWidget *m_window;
    MessageBox m_message;
    Announce m_announce;
};
