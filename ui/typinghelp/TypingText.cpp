#include "TypingText.h"

#include <algorithm>
#include <tuple>

namespace {

bool IsLetter(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool IsNameChar(QChar c) {
    return IsLetter(c) || (c >= u'0' && c <= u'9') || c == u'_';
}

bool IsBracket(QChar c) {
    return c == u'(' || c == u')';
}

}  // namespace

qsizetype NameStartBefore(QStringView text, qsizetype caret) {
    if (caret <= 0 || caret > text.size() || (caret < text.size() && IsNameChar(text[caret])))
        return -1;
    const qsizetype reach = std::max<qsizetype>(0, caret - kHelpReach);
    qsizetype start = caret;
    while (start > reach && IsNameChar(text[start - 1]))
        --start;
    if (start > 0 && IsNameChar(text[start - 1]))
        return -1;  // a run longer than the reach is no name to help with
    // A run that begins with a digit is a number ("2e"), not a name.
    return start < caret && IsLetter(text[start]) ? start : -1;
}

QList<qsizetype> MatchingNames(const QList<NameEntry>& entries, QStringView prefix,
                               qsizetype most) {
    QList<qsizetype> found;
    if (prefix.isEmpty())
        return found;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].name.startsWith(prefix))
            found.append(i);
    }
    const auto rank = [&](qsizetype i) {
        const NameEntry& entry = entries[i];
        return std::tuple(entry.name != prefix, entry.name, !entry.isFunction);
    };
    const qsizetype kept = std::min(most, found.size());
    std::partial_sort(found.begin(), found.begin() + kept, found.end(),
                      [&](qsizetype a, qsizetype b) { return rank(a) < rank(b); });
    found.resize(kept);
    return found;
}

qsizetype BracketBesideCaret(QStringView text, qsizetype caret) {
    if (caret > 0 && caret <= text.size() && IsBracket(text[caret - 1]))
        return caret - 1;
    if (caret >= 0 && caret < text.size() && IsBracket(text[caret]))
        return caret;
    return -1;
}

qsizetype BracketPartner(QStringView text, qsizetype at) {
    if (at < 0 || at >= text.size() || !IsBracket(text[at]))
        return -1;
    const bool opens = text[at] == u'(';
    const qsizetype step = opens ? 1 : -1;
    const QChar same = text[at];
    const qsizetype end = opens ? std::min(text.size(), at + kHelpReach + 1)
                                : std::max<qsizetype>(-1, at - kHelpReach - 1);
    qsizetype depth = 0;
    for (qsizetype i = at + step; i != end; i += step) {
        if (text[i] == same)
            ++depth;
        else if (IsBracket(text[i]) && depth-- == 0)
            return i;
    }
    return end == -1 || end == text.size() ? -1 : kPartnerOutOfReach;
}

std::optional<CallPlace> CallAround(QStringView text, qsizetype caret) {
    caret = std::clamp<qsizetype>(caret, 0, text.size());
    qsizetype depth = 0;
    int commas = 0;
    for (qsizetype i = caret - 1; i >= std::max<qsizetype>(0, caret - kHelpReach); --i) {
        const QChar c = text[i];
        if (c == u')') {
            ++depth;
        } else if (c == u'(' && depth > 0) {
            --depth;
        } else if (c == u',' && depth == 0) {
            ++commas;
        } else if (c == u'(') {
            // The engine reads "log (" as a call too: it drops blanks first.
            qsizetype nameEnd = i;
            while (nameEnd > 0 && text[nameEnd - 1].isSpace())
                --nameEnd;
            const qsizetype nameStart = NameStartBefore(text.first(nameEnd), nameEnd);
            if (nameStart >= 0)
                return CallPlace{nameStart, nameEnd, commas};
            commas = 0;  // a plain bracket: the call, if any, lies further out
        }
    }
    return std::nullopt;
}

QString UsageHint(const QString& usage, const QString& name, int argument) {
    const QStringList lines = usage.split(u'\n');
    const QString call = lines.value(0).trimmed();
    const qsizetype open = call.indexOf(u'(');
    const qsizetype close = call.lastIndexOf(u')');
    QString hint;
    if (open < 0 || close < open) {
        hint = call.toHtmlEscaped();
    } else {
        hint = name.toHtmlEscaped() + u'(';
        const QStringList arguments = call.mid(open + 1, close - open - 1).split(u',');
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            const QString shown = arguments[i].trimmed().toHtmlEscaped();
            if (i > 0)
                hint += QStringLiteral(", ");
            hint += i == argument ? QStringLiteral("<b>%1</b>").arg(shown) : shown;
        }
        hint += call.mid(close).toHtmlEscaped();
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString more = lines[i].trimmed();
        if (!more.isEmpty())
            hint += QStringLiteral(", ") + more.toHtmlEscaped();
    }
    return hint;
}
