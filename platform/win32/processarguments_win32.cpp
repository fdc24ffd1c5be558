#include "commandline.h"
#include "../processarguments.h"
#include "commandline_win32.h"

namespace platform {

// Windows hands over the raw command line; split it with our own rules.
QStringList processArgumentItems(const QStringList &)
{
    return common::splitCommandLine(QString::fromStdWString(win32::rawArgumentText()));
}

}  // namespace platform
