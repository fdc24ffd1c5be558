#pragma once
// Column headings of the details lists: plain text, never bold. QHeaderView
// measures every heading in bold (to leave room for its highlight), which loads
// the bold faces of the Japanese fonts at start-up for nothing; the lists never
// highlight their headings.
#include <QHeaderView>

class PlainHeaderView : public QHeaderView {
    Q_OBJECT
public:
    explicit PlainHeaderView(QWidget *parent = nullptr);

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
};
