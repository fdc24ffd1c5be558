#pragma once
// Parsed key strokes as the key transitions SendInput plays back.

#include "../services.h"
#include "keytyper_win32_raw.h"

namespace platform {

std::vector<win32::RawKeyEvent> toRawKeyEvents(const QList<KeyStroke> &strokes);

}  // namespace platform
