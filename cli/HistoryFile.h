#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

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
// is written, so a link found there is the user's and is followed. The file
// is reached through descriptors of that directory, so that no name is
// looked up twice.
class HistoryDirectory {
  public:
    // A history file is refused above this size: it could only have been
    // put there by other means than typing, and is read whole.
    static constexpr std::size_t kMostBytes = std::size_t{64} << 20;

    // The directory above `historyPath`, created when missing. None when it
    // cannot be opened; with `problem` set when it is refused.
    static std::unique_ptr<HistoryDirectory> Open(const std::string& historyPath,
                                                  std::string& problem);
    ~HistoryDirectory();
    HistoryDirectory(const HistoryDirectory&) = delete;
    HistoryDirectory& operator=(const HistoryDirectory&) = delete;

    const std::string& Path() const { return m_path; }

    // The history file's bytes as they are now; empty when there is no
    // file. None when there is something that cannot be read whole as a
    // regular file (a pipe or a device is not even opened for reading, so
    // that neither can stall the program), with `problem` saying why.
    std::optional<std::string> Read(std::string& problem) const;
    // Replaces the history file whole with `content`, written and flushed to
    // the disk before it takes the file's place, so that a full disk or a
    // run ending half-way through leaves the earlier history as it was.
    // Through a symbolic link, the file it points to is replaced and the
    // link kept. False with `problem` set when the file is left as it was.
    bool Replace(std::string_view content, std::string& problem) const;

    // Sessions that merge their lines into the file take turns: the lock is
    // held until the object returned goes.
    class Lock;
    std::unique_ptr<Lock> Hold() const;

  private:
    HistoryDirectory(int fd, std::string path, std::string fileName)
        : m_fd(fd), m_path(std::move(path)), m_fileName(std::move(fileName)) {}

    int m_fd;
    std::string m_path;
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
