#pragma once
#include <QString>

// The key string that types keyText literally: each of + ＋ ^ ＾ % ％ ~ ～ ( （ ) ）
// is put between braces; every other character, braces and brackets included,
// passes unchanged (a brace group in a key is meant for the typer).
QString escapeKeys(const QString &keyText);
