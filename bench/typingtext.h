#pragma once
// The text the typing benchmarks type, and how they report a text that came out wrong.
#include <QString>

#include <cstdio>

// 500 characters of ordinary Japanese prose: kana, kanji, punctuation, a few digits.
inline QString benchmarkText()
{
    const QString prose = QStringLiteral(
        "春の朝、駅前の小さな喫茶店には、いつもと同じ顔ぶれが集まっていた。窓際の席では、年配の男性が新聞を広げ、"
        "ゆっくりとコーヒーを味わっている。店主は静かにカップを磨きながら、今日の天気について常連客と言葉を交わした。"
        "昨夜から降り続いた雨はようやく上がり、街路樹の若葉が光を受けて輝いている。通勤途中の人々は傘を畳み、"
        "足早に改札へと向かっていった。私はこの店で、毎週月曜日に原稿の下書きをすることにしている。"
        "締め切りまではまだ十日ほどあるが、早めに手を付けておかないと、後で慌てることになるのは分かっていた。"
        "今回の題材は、地方の小さな町で百年以上続く和菓子屋の物語だ。三代目の主人は、伝統を守りつつも、"
        "若い世代に受け入れられる新しい味を模索している。取材の日、店の奥の作業場では、蒸し器から白い湯気が立ち上り、"
        "小豆を煮る甘い香りが漂っていた。主人は手を止めずに、祖父から教わった技術と、自分なりに工夫した点について"
        "丁寧に語ってくれた。例えば、砂糖の量を少し減らし、素材本来の風味を生かすようにしたという。"
        "また、季節ごとに限定の菓子を作り、地元の農家から仕入れた果物を使うことで、町の人々との結び付きも深めている。"
        "話を聞きながら、私は変わらないことと変わることの両方が、長く続く理由なのだと感じた。帰り道、"
        "夕暮れの商店街を歩くと、どの店先にも明かりが灯り、人々の暮らしの温かさが伝わってきた。");
    return prose.left(500);
}

// Prints where the received text first differs from the typed one.
inline void reportDifference(const QString &expected, const QString &seen)
{
    qsizetype at = 0;
    while (at < expected.size() && at < seen.size() && expected[at] == seen[at])
        ++at;
    std::printf("  received %d characters, first difference at %d: expected \"%s\", got \"%s\"\n", int(seen.size()),
                int(at), qPrintable(expected.mid(at, 8)), qPrintable(seen.mid(at, 8)));
}
