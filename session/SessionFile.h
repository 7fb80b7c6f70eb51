#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The history and the variables a window keeps between runs, and the text
// they are kept as: JSON Lines, one record a line after a line naming the
// format and its version,
//
//   {"format":"tallyfern-session","version":1}
//   {"history":"1+2","result":"3"}
//   {"variable":"rate","value":"0.05"}
//
// so that whatever cut a file short, every line before the cut still reads.
// A history record may lack its result (files written before results were
// kept): the entry reads with none. A reader that knows no results reads
// the entry and passes the result over, so the version stays.

struct KeptVariable {
    QString name;
    QString value;  // as the grid shows it
    friend bool operator==(const KeptVariable&, const KeptVariable&) = default;
};

struct KeptSession {
    QStringList history;            // oldest first, no two equal ignoring case
    QList<KeptVariable> variables;  // in the grid's order
    // The results of history entries, by the entry's SessionKey; an entry
    // missing here has none. May hold keys of entries no longer kept.
    QHash<QString, QString> results = {};

    // The result of each history entry, in the history's order.
    QStringList HistoryResults() const;
};

// What reading a kept file found wrong: nothing for a sound file.
struct SessionReadProblems {
    bool damaged = false;  // a line that is no record, or no header line
    bool newerVersion = false;
    bool notUtf8 = false;
    bool tooLarge = false;  // not read at all
    int skippedHistory = 0;
    int skippedVariables = 0;

    bool Any() const {
        return damaged || newerVersion || notUtf8 || tooLarge || skippedHistory > 0 ||
               skippedVariables > 0;
    }
};

struct SessionReadResult {
    KeptSession session;
    SessionReadProblems problems;
};

inline constexpr int kSessionFileVersion = 1;
// The history keeps the newest 10,000 entries, and of those no more than
// 4 Mi characters in all; the grid keeps every row.
inline constexpr qsizetype kMaxHistoryEntries = 10000;
inline constexpr qsizetype kMaxHistoryCharacters = qsizetype(4) << 20;
// A larger file is no file this program wrote; it is not read, so the
// window starts at once.
inline constexpr qint64 kMaxSessionFileBytes = qint64(16) << 20;

// Every valid record of a kept file's bytes, and what was skipped. A
// variable the grid would refuse (its name, a name already taken ignoring
// case, or a value that is not one decimal number) is skipped, as is a
// history entry that is empty or repeats one before it.
SessionReadResult ParseSessionFile(const QByteArray& bytes);

QByteArray SerializeSession(const KeptSession& session);

// Drops the oldest history entries beyond the limits, and any entry too
// large for the room the newer ones leave.
void LimitHistory(QStringList& history);

// The key under which two history entries, or two variable names, are the
// same: the window compares both ignoring letter case.
inline QString SessionKey(const QString& text) {
    return text.toCaseFolded();
}
