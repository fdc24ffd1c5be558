#pragma once
// The viewer's own pictures, drawn at run time: the window icon, the four caption
// button pictures (12 x 10: minimize, maximize, restore, close) and the title picture.
#include <QIcon>
#include <QPixmap>

// The caption buttons' pictures, numbered as in the picture list.
enum class CaptionPicture { Minimize = 1, Maximize = 2, Restore = 3, Close = 4 };

namespace pictures {

QIcon appIcon();
QPixmap appIconPixmap(int size);
QPixmap captionPicture(CaptionPicture picture);
QPixmap titlePicture();  // 320 x 240

}  // namespace pictures
