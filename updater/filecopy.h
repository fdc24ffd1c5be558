#pragma once
#include <QString>

// Copies a file over another, replacing the target only once the whole copy is
// written (a temporary file in the target's folder, renamed over it). The copy
// keeps the original's modification time and permissions.
// Returns the empty text on success, otherwise why it failed.
QString copyFileOver(const QString &fromPath, const QString &toPath);
