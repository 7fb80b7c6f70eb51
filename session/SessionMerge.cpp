#include "SessionMerge.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <utility>

namespace {

QSet<QString> HistoryKeys(const QStringList& history) {
    QSet<QString> keys;
    keys.reserve(history.size());
    for (const QString& entry : history)
        keys.insert(SessionKey(entry));
    return keys;
}

QHash<QString, KeptVariable> VariablesByKey(const QList<KeptVariable>& variables) {
    QHash<QString, KeptVariable> byKey;
    byKey.reserve(variables.size());
    for (const KeptVariable& variable : variables)
        byKey.insert(SessionKey(variable.name), variable);
    return byKey;
}

QStringList MergeHistory(const QStringList& disk, const QStringList& mine,
                         const QStringList& base) {
    // The usual case, cheap with a full history: this window has only
    // added entries since, mostly one. Many added at once (the first write
    // after keeping is turned on) are looked up through the keys, lest the
    // merge take the square of a full history.
    if (mine.size() >= base.size() && std::equal(base.begin(), base.end(), mine.begin())) {
        constexpr qsizetype kFewAdded = 8;
        QStringList merged = disk;
        if (mine.size() - base.size() <= kFewAdded) {
            for (qsizetype i = base.size(); i < mine.size(); ++i) {
                if (!merged.contains(mine[i], Qt::CaseInsensitive))
                    merged.append(mine[i]);
            }
        } else {
            QSet<QString> mergedKeys = HistoryKeys(disk);
            for (qsizetype i = base.size(); i < mine.size(); ++i) {
                QString key = SessionKey(mine[i]);
                if (!mergedKeys.contains(key)) {
                    mergedKeys.insert(std::move(key));
                    merged.append(mine[i]);
                }
            }
        }
        LimitHistory(merged);
        return merged;
    }
    const QSet<QString> mineKeys = HistoryKeys(mine);
    const QSet<QString> baseKeys = HistoryKeys(base);
    QStringList merged;
    QSet<QString> mergedKeys;
    for (const QString& entry : disk) {
        const QString key = SessionKey(entry);
        const bool removedHere = baseKeys.contains(key) && !mineKeys.contains(key);
        if (!removedHere && !mergedKeys.contains(key)) {
            merged.append(entry);
            mergedKeys.insert(key);
        }
    }
    // An entry this window had already written and the file no longer
    // holds was removed by the other window, or fell off the limit.
    for (const QString& entry : mine) {
        const QString key = SessionKey(entry);
        if (!baseKeys.contains(key) && !mergedKeys.contains(key)) {
            merged.append(entry);
            mergedKeys.insert(key);
        }
    }
    LimitHistory(merged);
    return merged;
}

QList<KeptVariable> MergeVariables(const QList<KeptVariable>& disk, const QList<KeptVariable>& mine,
                                   const QList<KeptVariable>& base) {
    const QHash<QString, KeptVariable> diskByKey = VariablesByKey(disk);
    const QHash<QString, KeptVariable> baseByKey = VariablesByKey(base);
    QList<KeptVariable> merged;
    QSet<QString> mergedKeys;
    const auto add = [&merged, &mergedKeys](const KeptVariable& variable) {
        if (!mergedKeys.contains(SessionKey(variable.name))) {
            mergedKeys.insert(SessionKey(variable.name));
            merged.append(variable);
        }
    };
    for (const KeptVariable& variable : mine) {
        const QString key = SessionKey(variable.name);
        const auto before = baseByKey.constFind(key);
        const bool changedHere = before == baseByKey.cend() || *before != variable;
        if (changedHere)
            add(variable);
        else if (const auto onDisk = diskByKey.constFind(key); onDisk != diskByKey.cend())
            add(*onDisk);
    }
    QSet<QString> mineKeys;
    for (const KeptVariable& variable : mine)
        mineKeys.insert(SessionKey(variable.name));
    for (const KeptVariable& variable : disk) {
        const QString key = SessionKey(variable.name);
        if (!mineKeys.contains(key) && !baseByKey.contains(key))
            add(variable);
    }
    return merged;
}

}  // namespace

KeptSession MergeSessions(const KeptSession& disk, const KeptSession& mine,
                          const KeptSession& base) {
    KeptSession merged{MergeHistory(disk.history, mine.history, base.history),
                       MergeVariables(disk.variables, mine.variables, base.variables),
                       {}};
    // This window's result of an entry is the one it computed last.
    if (mine.results.isEmpty() && disk.results.isEmpty())
        return merged;
    merged.results.reserve(merged.history.size());
    for (const QString& entry : merged.history) {
        const QString key = SessionKey(entry);
        const auto here = mine.results.constFind(key);
        if (here != mine.results.cend())
            merged.results.insert(key, *here);
        else if (const auto there = disk.results.constFind(key); there != disk.results.cend())
            merged.results.insert(key, *there);
    }
    return merged;
}
