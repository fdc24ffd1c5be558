#include "viewerstyle.h"

#include "resources/pictures.h"

#include <QStyleOption>
#include <QWidget>

QIcon ViewerStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option, const QWidget *widget) const
{
    if (standardIcon != SP_ToolBarHorizontalExtensionButton && standardIcon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    const QPalette palette = option ? option->palette : widget ? widget->palette() : standardPalette();
    const QColor colour = palette.color(QPalette::Active, QPalette::ButtonText);
    QIcon icon;
    for (const int size : {16, 32})
        icon.addPixmap(pictures::toolbarChevron(size, standardIcon == SP_ToolBarVerticalExtensionButton, colour));
    return icon;
}
