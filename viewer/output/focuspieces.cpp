#include "focuspieces.h"

using common::KeyStroke;
using common::Modifier;
using common::NamedKey;

namespace {

bool movesFocus(const KeyStroke &stroke, const QList<Modifier> &held)
{
    if (stroke.kind == KeyStroke::Key && (stroke.key == NamedKey::Tab || stroke.key == NamedKey::Enter))
        return true;
    // Shortcuts: Alt+letter opens menus and jumps to labelled fields, Ctrl+Tab and the
    // like change pages.
    return held.contains(Modifier::Ctrl) || held.contains(Modifier::Alt);
}

}  // namespace

QList<KeyPiece> splitAtFocusMoves(const QList<KeyStroke> &strokes)
{
    QList<KeyPiece> pieces;
    QList<Modifier> held;  // in the order they went down
    const auto releaseHeld = [&] {
        for (auto m = held.crbegin(); m != held.crend(); ++m)
            pieces.last().strokes.append(KeyStroke::up(*m));
    };
    for (const KeyStroke &stroke : strokes) {
        switch (stroke.kind) {
        case KeyStroke::ModifierDown:
            held.append(stroke.modifier);
            if (!pieces.isEmpty())
                pieces.last().strokes.append(stroke);
            break;
        case KeyStroke::ModifierUp:
            if (const qsizetype at = held.lastIndexOf(stroke.modifier); at >= 0)
                held.removeAt(at);
            if (!pieces.isEmpty())
                pieces.last().strokes.append(stroke);
            break;
        case KeyStroke::Text:
        case KeyStroke::Key: {
            const bool moves = movesFocus(stroke, held);
            if (pieces.isEmpty() || pieces.last().movesFocus != moves) {
                if (!pieces.isEmpty())
                    releaseHeld();
                pieces.append(KeyPiece{moves, {}});
                for (Modifier m : std::as_const(held))
                    pieces.last().strokes.append(KeyStroke::down(m));
            }
            pieces.last().strokes.append(stroke);
            break;
        }
        }
    }
    return pieces;
}
