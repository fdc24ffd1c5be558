#pragma once
#include <QFont>

// The lists' font: "Terminal" at 9.75 points where it exists, else a monospace
// font that has the Japanese glyphs.
QFont viewerListFont();
