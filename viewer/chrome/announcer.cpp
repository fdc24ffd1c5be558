#include "announcer.h"

#include <QAccessibleWidget>

namespace {

class AccessibleAnnouncer : public QAccessibleWidget {
public:
    explicit AccessibleAnnouncer(QWidget *widget) : QAccessibleWidget(widget, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<const QLabel *>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *announcerFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("Announcer") && object && object->isWidgetType())
        return new AccessibleAnnouncer(static_cast<QWidget *>(object));
    return nullptr;
}

}  // namespace

Announcer::Announcer(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("Announcer"));
    // In no layout: it takes no room and moves nothing when it is shown again.
    setGeometry(0, 0, 0, 0);
}

void Announcer::announce(const QString &text)
{
    // Hidden and shown again, so that the same text twice is announced twice; the text
    // (a label's accessible name, announced as changed) comes first, so that a reader
    // that asks when it is shown gets the new one.
    hide();
    setText(text);
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    show();
}

void Announcer::registerAccessible()
{
    static const bool once = [] {
        QAccessible::installFactory(announcerFactory);
        return true;
    }();
    Q_UNUSED(once);
}
