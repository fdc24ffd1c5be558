#pragma once
// Keeps a label's whole text readable inside its fixed rectangle: the font shrinks
// from its design size until the text, wrapped the way the label wraps it, fits.
// Fonts differ between systems (a missing design font is replaced by a wider one).

class QFont;
class QLabel;

namespace textfit {

// Smallest size tried; below it a text would no longer be readable at all.
constexpr double MinimumPointSize = 5.0;

// Whether the label's text, at the label's font, fits inside its contents rect.
bool fits(const QLabel *label);

// Gives the label the largest size of designFont, in half points, at which its
// current text fits (MinimumPointSize when none does).
void shrinkToFit(QLabel *label, const QFont &designFont);

}  // namespace textfit
