#pragma once
// CoolBar1: a strip of bands in rows, each band holding one child control and an
// optional caption. Widths are in twips and band indexes count from 1. The strip
// reports every change of its arrangement through changed().
#include <QColor>
#include <QWidget>

#include "bandlayout.h"

class QLabel;
class QStyle;

class CoolBar : public QWidget {
    Q_OBJECT
public:
    explicit CoolBar(QWidget *parent = nullptr);

    int addBand(QWidget *child, double minWidth, double minHeight, double width, bool newRow,
                const QString &caption = QString());
    int bandCount() const { return int(m_bands.size()); }
    QWidget *bandChild(int index) const;
    QString bandCaption(int index) const;
    double bandWidth(int index) const;
    void setBandWidth(int index, double twips);
    double bandMinWidth(int index) const;
    void setBandMinWidth(int index, double twips);
    double bandMinHeight(int index) const;
    QRect bandRect(int index) const;  // pixels, as laid out now
    // A band painted in its own colour instead of the strip's.
    void setBandColor(int index, const QColor &color);

    double widthTwips() const;
    int stripHeightPixels() const;
    QSize sizeHint() const override;

signals:
    void changed();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry {
        QWidget *child = nullptr;
        QLabel *caption = nullptr;
        bandlayout::Band band;
        QColor color;
        QRect rect;
    };
    QList<bandlayout::Band> bandModel() const;
    void relayout();
    void scheduleChanged();

    QList<Entry> m_bands;
    QStyle *m_toolBarStyle = nullptr;  // one for all toolbars: each style makes its own base style
    bool m_changePending = false;
};
