#include "services.h"

namespace platform {

KeyTyper::Result typeKeyString(KeyTyper &typer, const QString &keyString, bool wait)
{
    const ParsedKeyString parsed = parseKeyString(keyString);
    if (!parsed.ok())
        return {false, parsed.error};
    return typer.type(parsed.strokes, wait);
}

} // namespace platform
