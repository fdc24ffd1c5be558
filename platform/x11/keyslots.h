#pragma once
// Where the characters a layout lacks are put while keys are typed: on the keycodes no
// key of the layout uses, two to a keycode (plain and with Shift) for characters without
// case, and a whole keycode for one with case, so that Caps Lock cannot change it.
//
// A receiver may look a keycode up long after the key went out: an input method's round
// trip, a busy program, a toolkit that fetches the mapping anew when it reads the key. So
// a place gets another character only once the keys typed with it are old enough and,
// where the receiver answers pings, a ping sent after them has come back. Plain logic,
// no X: the typer writes what it is told into the server's mapping.
#include <QHash>
#include <QList>
#include <QtGlobal>
#include <functional>
#include <optional>

namespace platform::x11 {

class KeySlots {
public:
    struct Place {
        quint8 code = 0;
        bool shift = false;
    };
    // What a keycode holds: nothing (both 0), a character on each level, or one
    // character with case on both levels (whole).
    struct CodeSymbols {
        quint32 plain = 0;
        quint32 shifted = 0;
        bool whole = false;
        bool operator==(const CodeSymbols &) const = default;
    };

    KeySlots(const QList<quint8> &spareCodes, std::function<bool(quint32)> hasCase);

    int capacity() const { return static_cast<int>(m_codes.size()) * 2; }
    std::optional<Place> find(quint32 sym) const;
    bool isEmpty() const { return m_where.isEmpty(); }

    // A key was typed with sym's place at `now` (ms on any steady clock).
    void used(quint32 sym, qint64 now);
    // The receiver answered a ping sent at sentAt: it has read every key typed before.
    void proven(qint64 sentAt);

    // When a place may change: at `now` (ms), its last key holdMs old, with a ping's answer
    // after it where needProof, and only an empty place unless mayReuse.
    struct Rule {
        qint64 now, holdMs;
        bool needProof, mayReuse;
    };
    // Puts the wanted symbols, in order, on places that may change, never one of keep's,
    // and stops at the first one that finds no place. Returns the keycodes whose symbols
    // changed.
    QList<quint8> place(const QList<quint32> &wanted, const QList<quint32> &keep, const Rule &rule);
    // Whether some place is old enough and waits for nothing but a ping's answer.
    bool waitsForProof(qint64 now, qint64 holdMs) const;
    // How many of the wanted symbols place() would put on a place now.
    int placeable(const QList<quint32> &wanted, const QList<quint32> &keep, const Rule &rule) const;
    // When the next place in use becomes old enough after `now`; -1 when none will.
    qint64 nextAgeAfter(qint64 now, qint64 holdMs) const;

    CodeSymbols symbolsOf(quint8 code) const;
    const QList<quint8> &codes() const { return m_codeNumbers; }

private:
    struct Level {
        quint32 sym = 0;
        qint64 lastUse = 0;
    };
    struct Code {
        Level level[2];
        bool whole = false;
    };
    QList<quint8> m_codeNumbers;
    QList<Code> m_codes;
    QHash<quint32, Place> m_where;
    std::function<bool(quint32)> m_hasCase;
    qint64 m_provenBefore = -1;

    bool mayChange(const Level &level, const Rule &rule, const QList<quint32> &keep) const;
    bool codeMayChange(const Code &code, const Rule &rule, const QList<quint32> &keep) const;
    void clearLevel(Code &code, int level);
};

}  // namespace platform::x11
