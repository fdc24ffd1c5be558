#include "keyslots.h"

#include <algorithm>
#include <limits>

namespace platform::x11 {

KeySlots::KeySlots(const QList<quint8> &spareCodes, std::function<bool(quint32)> hasCase)
    : m_codeNumbers(spareCodes), m_codes(spareCodes.size()), m_hasCase(std::move(hasCase))
{}

std::optional<KeySlots::Place> KeySlots::find(quint32 sym) const
{
    const auto it = m_where.constFind(sym);
    if (it == m_where.cend())
        return std::nullopt;
    return *it;
}

void KeySlots::used(quint32 sym, qint64 now)
{
    const auto it = m_where.constFind(sym);
    if (it == m_where.cend())
        return;
    Code &code = m_codes[m_codeNumbers.indexOf(it->code)];
    code.level[it->shift ? 1 : 0].lastUse = now;
    if (code.whole)
        code.level[0].lastUse = code.level[1].lastUse = now;
}

void KeySlots::proven(qint64 sentAt) { m_provenBefore = std::max(m_provenBefore, sentAt); }

bool KeySlots::mayChange(const Level &level, const Rule &rule, const QList<quint32> &keep) const
{
    if (level.sym == 0)
        return true;
    return rule.mayReuse && !keep.contains(level.sym) && rule.now - level.lastUse >= rule.holdMs &&
           (!rule.needProof || level.lastUse <= m_provenBefore);
}

bool KeySlots::codeMayChange(const Code &code, const Rule &rule, const QList<quint32> &keep) const
{
    return mayChange(code.level[0], rule, keep) && mayChange(code.level[1], rule, keep);
}

void KeySlots::clearLevel(Code &code, int level)
{
    if (code.level[level].sym != 0 && !(code.whole && level == 1))
        m_where.remove(code.level[level].sym);
    code.level[level] = Level{};
}

QList<quint8> KeySlots::place(const QList<quint32> &wanted, const QList<quint32> &keep, const Rule &rule)
{
    QList<quint8> changed;
    auto note = [&changed](quint8 code) {
        if (!changed.contains(code))
            changed.append(code);
    };
    // Empty places first, then the one whose last key is oldest; the plain level before
    // the shifted one, which costs a Shift press.
    auto age = [](const Level &level) { return level.sym == 0 ? std::numeric_limits<qint64>::min() : level.lastUse; };
    for (const quint32 sym : wanted) {
        if (m_where.contains(sym))
            continue;
        const bool whole = m_hasCase(sym);
        int bestCode = -1, bestLevel = 0;
        qint64 bestAge = std::numeric_limits<qint64>::max();
        for (int c = 0; c < m_codes.size(); ++c) {
            const Code &code = m_codes[c];
            if (whole || code.whole) {
                if (!codeMayChange(code, rule, keep))
                    continue;
                const qint64 a = std::max(age(code.level[0]), age(code.level[1]));
                if (a < bestAge)
                    bestCode = c, bestLevel = 0, bestAge = a;
                continue;
            }
            for (int l = 0; l < 2; ++l) {
                if (mayChange(code.level[l], rule, keep) && age(code.level[l]) < bestAge)
                    bestCode = c, bestLevel = l, bestAge = age(code.level[l]);
            }
        }
        if (bestCode < 0)
            break;
        Code &code = m_codes[bestCode];
        if (whole || code.whole) {
            clearLevel(code, 0);
            clearLevel(code, 1);
            code.whole = whole;
        } else {
            clearLevel(code, bestLevel);
        }
        code.level[bestLevel].sym = sym;
        code.level[bestLevel].lastUse = rule.now;
        if (whole)
            code.level[1] = code.level[0];
        m_where.insert(sym, Place{m_codeNumbers[bestCode], bestLevel == 1});
        note(m_codeNumbers[bestCode]);
    }
    return changed;
}

bool KeySlots::waitsForProof(qint64 now, qint64 holdMs) const
{
    for (const Code &code : m_codes)
        for (const Level &level : code.level)
            if (level.sym != 0 && now - level.lastUse >= holdMs && level.lastUse > m_provenBefore)
                return true;
    return false;
}

int KeySlots::placeable(const QList<quint32> &wanted, const QList<quint32> &keep, const Rule &rule) const
{
    KeySlots trial = *this;
    trial.place(wanted, keep, rule);
    int count = 0;
    for (const quint32 sym : wanted)
        count += trial.m_where.contains(sym) && !m_where.contains(sym) ? 1 : 0;
    return count;
}

qint64 KeySlots::nextAgeAfter(qint64 now, qint64 holdMs) const
{
    qint64 next = -1;
    for (const Code &code : m_codes)
        for (const Level &level : code.level)
            if (level.sym != 0 && level.lastUse + holdMs > now && (next < 0 || level.lastUse + holdMs < next))
                next = level.lastUse + holdMs;
    return next;
}

KeySlots::CodeSymbols KeySlots::symbolsOf(quint8 code) const
{
    const qsizetype i = m_codeNumbers.indexOf(code);
    if (i < 0)
        return {};
    const Code &c = m_codes[i];
    return {c.level[0].sym, c.level[1].sym, c.whole};
}

}  // namespace platform::x11
