#pragma once
// Why a file operation failed, in our own Japanese words instead of the system's
// English text.

#include <QFileDevice>
#include <QString>

// The cause when the error number (errno) tells it: permission, full disk, missing
// file or folder, file in use. Otherwise what failed, followed by the system's
// text when there is one. osError 0 means the number is unknown.
QString fileErrorText(QFileDevice::FileError error, int osError, const QString &systemText);

// The same for a device whose last operation just failed.
QString fileErrorText(const QFileDevice &device, int osError);
