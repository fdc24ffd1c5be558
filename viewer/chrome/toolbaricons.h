#pragma once
#include <QIcon>

enum class ToolbarIcon { DataOpen, ClipCopy, SendKey, UpData };

// The command bar's 16 × 16 pictures, drawn once.
QIcon toolbarIcon(ToolbarIcon which);
