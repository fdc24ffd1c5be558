#include "../processarguments.h"

namespace platform {

// The system has split the command line already; the program name goes.
QStringList processArgumentItems(const QStringList &deliveredArguments) { return deliveredArguments.mid(1); }

}  // namespace platform
