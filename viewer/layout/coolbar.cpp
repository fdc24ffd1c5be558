#include "coolbar.h"

#include "layoutmath.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QProxyStyle>
#include <QTimer>
#include <QToolBar>

namespace {

// Toolbars in bands are exactly as wide as their buttons: no frame, margin or gap.
class FlatToolBarStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        switch (metric) {
        case PM_ToolBarFrameWidth:
        case PM_ToolBarItemMargin:
        case PM_ToolBarItemSpacing: return 0;
        default: return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

constexpr int CaptionGap = 4;  // pixels either side of a band caption

}  // namespace

CoolBar::CoolBar(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    setAccessibleName(QStringLiteral("バンド"));
}

int CoolBar::addBand(QWidget *child, double minWidth, double minHeight, double width, bool newRow,
                     const QString &caption)
{
    Entry entry;
    entry.child = child;
    entry.band.minWidth = minWidth;
    entry.band.minHeight = minHeight;
    entry.band.width = width;
    entry.band.newRow = newRow;
    child->setParent(this);
    if (auto *toolbar = qobject_cast<QToolBar *>(child)) {
        if (!m_toolBarStyle) {
            m_toolBarStyle = new FlatToolBarStyle;
            m_toolBarStyle->setParent(this);
        }
        toolbar->setStyle(m_toolBarStyle);
        toolbar->setMovable(false);
        toolbar->setFloatable(false);
    }
    if (!caption.isEmpty()) {
        entry.caption = new QLabel(caption, this);
        entry.caption->setBuddy(child);
    }
    child->installEventFilter(this);
    m_bands.append(entry);
    relayout();
    return int(m_bands.size());
}

QWidget *CoolBar::bandChild(int index) const { return m_bands.at(index - 1).child; }

QString CoolBar::bandCaption(int index) const
{
    const QLabel *caption = m_bands.at(index - 1).caption;
    return caption ? caption->text() : QString();
}

double CoolBar::bandWidth(int index) const { return m_bands.at(index - 1).band.width; }

void CoolBar::setBandWidth(int index, double twips)
{
    m_bands[index - 1].band.width = twips;
    relayout();
}

double CoolBar::bandMinWidth(int index) const { return m_bands.at(index - 1).band.minWidth; }

void CoolBar::setBandMinWidth(int index, double twips)
{
    m_bands[index - 1].band.minWidth = twips;
    relayout();
}

double CoolBar::bandMinHeight(int index) const { return m_bands.at(index - 1).band.minHeight; }

QRect CoolBar::bandRect(int index) const { return m_bands.at(index - 1).rect; }

void CoolBar::setBandColor(int index, const QColor &color)
{
    m_bands[index - 1].color = color;
    update();
}

double CoolBar::widthTwips() const { return layoutmath::toTwips(width()); }

QList<bandlayout::Band> CoolBar::bandModel() const
{
    QList<bandlayout::Band> model;
    for (const Entry &entry : m_bands) {
        bandlayout::Band band = entry.band;
        const QSize hint = entry.child->sizeHint();
        band.childHeight = hint.isValid() ? layoutmath::toTwips(hint.height()) : 0;
        model.append(band);
    }
    return model;
}

int CoolBar::stripHeightPixels() const { return layoutmath::toPixels(bandlayout::stripHeight(bandModel())); }

QSize CoolBar::sizeHint() const { return QSize(layoutmath::toPixels(8535), stripHeightPixels()); }

void CoolBar::relayout()
{
    const QList<QRectF> rects = bandlayout::arrange(bandModel(), widthTwips());
    bool moved = false;
    for (int i = 0; i < m_bands.size(); ++i) {
        Entry &entry = m_bands[i];
        const QRectF &r = rects.at(i);
        const QRect rect = layoutmath::toPixelRect(r.left(), r.top(), r.width(), r.height());
        moved |= rect != entry.rect;
        entry.rect = rect;
        // The child fills its band below the padding, after the caption if there is one.
        const int pad = layoutmath::toPixels(bandlayout::RowPadding);
        QRect area = rect.adjusted(0, pad, 0, -pad);
        if (entry.caption) {
            const int captionWidth = entry.caption->sizeHint().width() + 2 * CaptionGap;
            entry.caption->setGeometry(area.left() + CaptionGap, area.top(), captionWidth - 2 * CaptionGap,
                                       area.height());
            area.setLeft(area.left() + captionWidth);
        }
        entry.child->setGeometry(area);
    }
    if (moved) {
        update();
        scheduleChanged();
    }
}

void CoolBar::scheduleChanged()
{
    if (m_changePending)
        return;
    m_changePending = true;
    QTimer::singleShot(0, this, [this] {
        m_changePending = false;
        emit changed();
    });
}

void CoolBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
    scheduleChanged();
}

bool CoolBar::eventFilter(QObject *watched, QEvent *event)
{
    // Buttons added to or removed from a band's toolbar change what the band needs.
    switch (event->type()) {
    case QEvent::ActionAdded:
    case QEvent::ActionRemoved:
    case QEvent::ActionChanged: scheduleChanged(); break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void CoolBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (const Entry &entry : m_bands) {
        if (entry.color.isValid())
            painter.fillRect(entry.rect, entry.color);
        // An etched edge under each band, as the strip draws its rows.
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(entry.rect.bottomLeft(), entry.rect.bottomRight());
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(entry.rect.topLeft(), entry.rect.topRight());
    }
}
