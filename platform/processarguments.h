#pragma once
#include <QStringList>

namespace platform {

// The items this process was started with. Where the system hands over the raw
// command line, it is split with the updater's rules (common/commandline.h); where
// it delivers arguments already split, those (without the program name) are the items.
QStringList processArgumentItems(const QStringList &deliveredArguments);

}  // namespace platform
