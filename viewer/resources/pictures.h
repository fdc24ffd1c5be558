#pragma once
// The viewer's own pictures, drawn at run time: the window icon, the four caption
// button pictures (12 x 10: minimize, maximize, restore, close), the toolbar chevron and
// the title picture.
#include <QIcon>
#include <QPixmap>

// The caption buttons' pictures, numbered as in the picture list.
enum class CaptionPicture { Minimize = 1, Maximize = 2, Restore = 3, Close = 4 };

class QPainter;

namespace pictures {

QIcon appIcon();
QPixmap appIconPixmap(int size);
QPixmap captionPicture(CaptionPicture picture);
// A toolbar's chevron for buttons that do not fit: a double one pointing right, down
// when the toolbar is vertical, in colour.
QPixmap toolbarChevron(int size, bool down, const QColor &colour);
// The splash's picture, 320 x 240 from the painter's origin. Painted straight onto the
// window rather than kept as a pixmap: the picture lives three seconds, and a pixmap of
// it would add 0.3 MiB to the start-up.
void paintTitlePicture(QPainter &p);

}  // namespace pictures
