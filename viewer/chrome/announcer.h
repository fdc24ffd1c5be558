#pragma once
// What a screen reader says after an action that changes nothing it would read by
// itself: a list opened, a key typed or copied. (A refusal comes as a message box, which
// a screen reader reads by itself.) The texts go out as
// notifications on the accessibility bus (role "notification", shown anew for each
// one, its name the text), the way desktop notifications reach screen readers.
#include <QLabel>

class Announcer : public QLabel {
    Q_OBJECT
public:
    // A child of the window in no layout, of no size: the texts are heard, not shown.
    explicit Announcer(QWidget *parent);
    void announce(const QString &text);

    // Makes the accessibility layer give every Announcer the notification role. Once,
    // before the first one is made.
    static void registerAccessible();
};
