#include "services.h"

namespace platform {

KeyTyper::Result typeKeyString(KeyTyper &typer, const QString &keyString, bool wait)
{
    const common::ParsedKeyString parsed = common::parseKeyString(keyString);
    if (!parsed.ok())
        return {false, parsed.error};
    const KeyTyper::Result result = typer.type(parsed.strokes, wait);
    const KeyTyper::Result done = typer.keyDone();
    return result.ok ? done : result;
}

}  // namespace platform
