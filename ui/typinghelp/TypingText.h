#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

// What the box's helps read from the text around the caret. Each looks only
// as far from the caret as its answer needs, and never further than
// kHelpReach characters, so that a key on a line of megabytes costs no more
// than on a long expression; it reads the text as the engine does: names
// are ASCII letters, digits and '_', a letter first, and case counts.

inline constexpr qsizetype kHelpReach = 10'000;

// Where the name that ends at the caret begins, or -1 when the caret ends
// no name (or stands inside one, where completing would split it).
qsizetype NameStartBefore(QStringView text, qsizetype caret);

// A name the box can complete, with what the list shows beside it.
struct NameEntry {
    QString name;
    QString summary;
    bool isFunction = false;
};

// The entries whose names begin with `prefix`, by name, at most `most` of
// them; an entry of exactly that name comes first, functions before
// variables of one name.
QList<qsizetype> MatchingNames(const QList<NameEntry>& entries, QStringView prefix, qsizetype most);

// The bracket a pair is shown for: the one just before the caret, else the
// one just after it; -1 when neither is a bracket.
qsizetype BracketBesideCaret(QStringView text, qsizetype caret);

// The bracket that pairs with the one at `at`, -1 when it has none, or
// kPartnerOutOfReach when the answer lies beyond the reach.
inline constexpr qsizetype kPartnerOutOfReach = -2;
qsizetype BracketPartner(QStringView text, qsizetype at);

// The function call the caret stands in (the innermost, plain brackets
// passed over): where its name lies and which argument, from 0, the caret
// is in. A call opened beyond the reach is none.
struct CallPlace {
    qsizetype nameStart = 0;
    qsizetype nameEnd = 0;
    int argument = 0;
    bool operator==(const CallPlace&) const = default;
};
std::optional<CallPlace> CallAround(QStringView text, qsizetype caret);

// A function's usage as a hint, in rich text: the first line called by
// `name` with the argument `argument` in bold, the lines after it joined
// on with commas ("asin(x), x∈[-1, 1]").
QString UsageHint(const QString& usage, const QString& name, int argument);
