#pragma once
// The viewer's own pictures, drawn at run time: the window icon, the four caption
// button pictures (12 x 10: minimize, maximize, restore, close) and the title picture.
#include <QIcon>
#include <QPixmap>

namespace pictures {

QIcon appIcon();
QPixmap appIconPixmap(int size);
QPixmap captionPicture(int index);  // 1 minimize, 2 maximize, 3 restore, 4 close
QPixmap titlePicture();             // 320 x 240

} // namespace pictures
