#pragma once

#include <QCoreApplication>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "SessionFile.h"

// The file that keeps a window's history and variables, in a directory of
// its own (the application's data directory, $XDG_DATA_HOME/tallyfern),
// made 0700, the file 0600. Every write is atomic and durable: a new file
// is written, flushed to the disk and then renamed over the old one, so a
// crash at any moment leaves one whole file or the other. A lock file
// around each read-merge-write lets two windows share the file (see
// SessionMerge.h). A symbolic link, a file of another user, or anything
// but a plain file in the file's or the lock's place is neither read nor
// written. A file of a newer version is read and left as it is.
class QLockFile;

class SessionStore {
    Q_DECLARE_TR_FUNCTIONS(SessionStore)

  public:
    explicit SessionStore(QString directory);

    struct Loaded {
        KeptSession session;
        SessionReadProblems problems;
        // Where a file that did not read whole was moved; empty when it
        // was not.
        QString setAsideTo;
        // The file is there but was not read: not this user's, or not
        // readable.
        bool refused = false;
        // The file was read, but stays as it is and is not written while
        // it does, for the reason in LastError(): it is of a newer version,
        // or it did not read whole and could not be moved aside.
        bool leftAlone = false;
    };
    // Reads the kept file; none is an empty session. A file that did not
    // read whole is moved aside, never to be overwritten.
    Loaded Load();

    // Writes `mine` merged with the file as it is now; false when it could
    // not, with the reason in LastError(). `stillKept`, when given, is asked
    // once the lock is held: another window may have turned keeping off and
    // deleted the file since the caller last looked, and only a check under
    // the lock cannot miss that. When it says no, nothing is written, and
    // that is no failure.
    bool Save(const KeptSession& mine, const std::function<bool()>& stillKept = {});

    // Deletes the kept file; what this window holds is written again only
    // by Save.
    bool Forget();

    QString FilePath() const;
    QString LastError() const { return m_lastError; }

  private:
    enum class Access { Missing, Usable, Refused };
    // The lock around a read-merge-write, held when it could be taken in
    // time; a reader goes on without it.
    std::unique_ptr<QLockFile> Lock();
    Access CheckFile(const QString& path) const;
    bool MakeDirectory();
    struct FileRead {
        SessionReadResult read;
        bool leftAlone = false;
    };
    // The file's records, moving it aside when they did not read whole;
    // none when it could not be read.
    std::optional<FileRead> ReadFile(QString* setAsideTo);
    bool SetAside(QString* setAsideTo);
    bool WriteFile(const KeptSession& session);

    // The file as this store last wrote it: while no other window has
    // replaced it (each write makes a new file, so a freed inode number
    // could come back, but not with the same size and times), it need not
    // be read again.
    struct FileIdentity {
        unsigned long long device = 0;
        unsigned long long inode = 0;
        long long size = 0;
        long long changedSeconds = 0;
        long long changedNanoseconds = 0;
        bool operator==(const FileIdentity&) const = default;
    };
    std::optional<FileIdentity> Identify() const;

    QString m_directory;
    KeptSession m_base;
    std::optional<FileIdentity> m_writtenIdentity;
    // The file left alone, not read again while it stays the same.
    std::optional<FileIdentity> m_leftAloneIdentity;
    QString m_leftAloneReason;
    KeptSession m_written;
    QString m_lastError;
};
