#pragma once
// StatusBar1's four keyed panels: "list", "key", "date" and "comment". Each panel
// is a label named by its key; its changing text is what assistive tools read.
#include <QList>
#include <QString>

class QLabel;
class QStatusBar;

class StatusPanels {
public:
    enum Panel { List, Key, Date, Comment };

    explicit StatusPanels(QStatusBar *statusBar);

    void setText(Panel panel, const QString &text);
    // A text too long for its panel can still be read in full.
    void showTextsAsToolTips();

private:
    QList<QLabel *> m_panels;
};
