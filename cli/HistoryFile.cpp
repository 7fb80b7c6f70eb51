#include "HistoryFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "ConsoleText.h"

namespace {

constexpr char kRelativePath[] = "/tallyfern/history";

// A name for an open descriptor that opening again reaches the same file,
// whatever has become of the name it was opened by.
std::string DescriptorPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

class OwnFd {
  public:
    explicit OwnFd(int fd) : m_fd(fd) {}
    ~OwnFd() {
        if (m_fd >= 0)
            close(m_fd);
    }
    OwnFd(const OwnFd&) = delete;
    OwnFd& operator=(const OwnFd&) = delete;
    int Get() const { return m_fd; }

  private:
    int m_fd;
};

}  // namespace

std::optional<std::string> HistoryFilePath() {
    // A relative XDG_STATE_HOME is to be ignored, as XDG says of all its
    // base directories.
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && state[0] == '/')
        return std::string(state) + kRelativePath;
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return std::string(home) + "/.local/state" + kRelativePath;
    return std::nullopt;
}

bool MakeParentDirectories(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string directory = path.substr(0, slash);
        if (mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

std::unique_ptr<HistoryDirectory> HistoryDirectory::Open(const std::string& historyPath,
                                                         std::string& problem) {
    const std::size_t slash = historyPath.rfind('/');
    if (slash == std::string::npos || !MakeParentDirectories(historyPath))
        return nullptr;
    const std::string directory = historyPath.substr(0, slash);
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat status {};
    if (fstat(fd, &status) != 0 || status.st_uid != geteuid() ||
        (status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        close(fd);
        problem = "tallyfern-cli: the history is not kept: " + QuotedText(directory, 200) +
                  " is not the user's own, or others can write to it\n";
        return nullptr;
    }
    return std::unique_ptr<HistoryDirectory>(
        new HistoryDirectory(fd, historyPath.substr(slash + 1)));
}

HistoryDirectory::~HistoryDirectory() {
    close(m_fd);
}

bool HistoryDirectory::Read(const FileFunction& read) const {
    const OwnFd file(openat(m_fd, m_fileName.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    return file.Get() >= 0 && read(DescriptorPath(file.Get()).c_str()) == 0;
}

bool HistoryDirectory::Replace(const FileFunction& write) const {
    const std::string fresh = m_fileName + ".new-" + std::to_string(getpid());
    unlinkat(m_fd, fresh.c_str(), 0);
    const OwnFd file(
        openat(m_fd, fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (file.Get() < 0)
        return false;
    if (write(DescriptorPath(file.Get()).c_str()) != 0 ||
        renameat(m_fd, fresh.c_str(), m_fd, m_fileName.c_str()) != 0) {
        unlinkat(m_fd, fresh.c_str(), 0);
        return false;
    }
    return true;
}

std::unique_ptr<HistoryDirectory::Lock> HistoryDirectory::Hold() const {
    return std::make_unique<Lock>(m_fd);
}

HistoryDirectory::Lock::Lock(int fd) : m_fd(fd) {
    while (flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

HistoryDirectory::Lock::~Lock() {
    flock(m_fd, LOCK_UN);
}
