#pragma once
#include <QFont>
#include <QStringList>

// The lists' font: "Terminal" at 9.75 points where it exists, else a monospace
// font that has the Japanese glyphs.
QFont viewerListFont();

// The title band's font: bold, in the Japanese system face where it exists.
QFont viewerTitleFont();

// Gives the font its families in order of preference. When the first is installed,
// it is given alone: it draws every character it has either way, and each further
// family would make the font engine ask the system for a sorted list of fallback
// fonts for every script it meets (about a millisecond each, at start-up). A
// character the face lacks still falls back, through the system's list.
void setPreferredFamilies(QFont &font, const QStringList &families);
