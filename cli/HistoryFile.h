#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

// Where line editing keeps its history between runs, as the XDG base
// directories place state: $XDG_STATE_HOME/tallyfern/history, or
// ~/.local/state/tallyfern/history when XDG_STATE_HOME is unset or not an
// absolute path. None when HOME is not set either.
std::optional<std::string> HistoryFilePath();

// Creates the missing directories above `path`, readable by the user only
// (the history holds what was typed); returns whether they are there.
bool MakeParentDirectories(const std::string& path);

// The directory that holds the history file, opened once without following
// a symbolic link, and accepted only when it is the user's own and nobody
// else can write to it: nobody else can then put a link where the history
// is written. The file is reached through descriptors of that directory, so
// that no name is looked up twice.
class HistoryDirectory {
  public:
    // The directory above `historyPath`, created when missing. None when it
    // cannot be opened; with `problem` set when it is refused.
    static std::unique_ptr<HistoryDirectory> Open(const std::string& historyPath,
                                                  std::string& problem);
    ~HistoryDirectory();
    HistoryDirectory(const HistoryDirectory&) = delete;
    HistoryDirectory& operator=(const HistoryDirectory&) = delete;

    // A library that reads and writes files by name is handed a name that
    // stands for an open descriptor.
    using FileFunction = std::function<int(const char* path)>;

    // Runs `read` on the history file as it is now; false when there is none.
    bool Read(const FileFunction& read) const;
    // Replaces the history file whole with what `write` writes, so that a run
    // ending half-way through leaves the earlier history as it was.
    bool Replace(const FileFunction& write) const;

    // Sessions that merge their lines into the file take turns: the lock is
    // held until the object returned goes.
    class Lock;
    std::unique_ptr<Lock> Hold() const;

  private:
    HistoryDirectory(int fd, std::string fileName) : m_fd(fd), m_fileName(std::move(fileName)) {}

    int m_fd;
    std::string m_fileName;
};

class HistoryDirectory::Lock {
  public:
    explicit Lock(int fd);
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

  private:
    int m_fd;
};
