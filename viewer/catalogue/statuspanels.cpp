#include "statuspanels.h"

#include "elidedlabel.h"

#include <QLabel>
#include <QStatusBar>

StatusPanels::StatusPanels(QStatusBar *statusBar)
{
    const char *const keys[] = {"list", "key", "date", "comment"};
    // The first three panels fit their usual texts; "comment" takes the rest.
    const int stretches[] = {0, 0, 0, 1};
    const char *const widest[] = {"all 9999 lists", "all 99999 keys", "date 0000/00/00 00:00:00", ""};
    for (int i = 0; i < 4; ++i) {
        auto *panel = new ElidedLabel(statusBar);
        panel->setObjectName(QLatin1String(keys[i]));
        // No accessible name: it would hide the changing text from screen readers.
        panel->setMinimumWidth(panel->fontMetrics().horizontalAdvance(QLatin1String(widest[i])));
        if (i == Comment)  // a long description is cut with an ellipsis, not pushed over its neighbours
            panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        statusBar->addWidget(panel, stretches[i]);
        m_panels.append(panel);
    }
}

void StatusPanels::setText(Panel panel, const QString &text) { m_panels.at(panel)->setText(text); }

void StatusPanels::showTextsAsToolTips()
{
    for (QLabel *panel : std::as_const(m_panels))
        panel->setToolTip(panel->text());
}
