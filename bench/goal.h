#pragma once
// One line per goal in a form scripts/bench.sh gathers into its table:
// "goal: <what> | <ratio> | <= or >= | <limit> | ok or MISSED".
#include <cstdio>

inline bool reportGoal(const char *what, double ratio, bool atMost, double limit)
{
    const bool met = atMost ? ratio <= limit : ratio >= limit;
    std::printf("goal: %s | %.2f | %s | %.2f | %s\n", what, ratio, atMost ? "<=" : ">=", limit, met ? "ok" : "MISSED");
    return met;
}
