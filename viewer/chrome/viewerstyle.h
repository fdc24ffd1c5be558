#pragma once
// The viewer's style: the desktop's own, except for the chevron a toolbar shows when its
// buttons do not all fit, which is drawn instead of read from Qt's image. Reading that
// image at each toolbar's construction makes Qt load every image-format plugin (GIF,
// ICO, JPEG and the JPEG library, a quarter of a megabyte) at start-up for a button that
// is seldom seen.
#include <QProxyStyle>

class ViewerStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
