#pragma once
// Column headings of the details lists: plain text, never bold. QHeaderView
// measures every heading in bold (to leave room for its highlight), which loads
// the bold faces of the Japanese fonts at start-up for nothing; the lists never
// highlight their headings.
//
// The strip's height comes from the first heading alone. QHeaderView measures every
// heading for it, and measuring loads each character's outline from the font: for
// the headings scrolled out of sight at start-up, about a megabyte of Japanese font
// for nothing. Every heading is one line in the same font, so one gives the height.
#include <QHeaderView>

class PlainHeaderView : public QHeaderView {
    Q_OBJECT
public:
    explicit PlainHeaderView(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
};
