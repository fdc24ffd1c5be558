#include "services.h"

namespace platform {

KeyTyper::Result typeKeyString(KeyTyper &typer, const QString &keyString, bool wait)
{
    const common::ParsedKeyString parsed = common::parseKeyString(keyString);
    if (!parsed.ok())
        return {false, parsed.error};
    return typer.type(parsed.strokes, wait);
}

}  // namespace platform
