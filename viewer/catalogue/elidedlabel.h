#pragma once
// A status panel whose text may be wider than the panel: it shows as much as fits and
// an ellipsis, so a cut text never looks whole. text() stays the whole text, which is
// what the tool tip and assistive tools give.
#include <QLabel>

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // What the panel shows at its present width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
