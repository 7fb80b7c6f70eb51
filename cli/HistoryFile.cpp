#include "HistoryFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "ConsoleText.h"

namespace {

constexpr char kRelativePath[] = "/tallyfern/history";

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

    int Release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void Reset(int fd) {
        if (m_fd >= 0)
            close(m_fd);
        m_fd = fd;
    }

  private:
    int m_fd;
};

constexpr std::size_t kChunkSize = std::size_t{1} << 16;
// A copy being written is named after the file and the writing process.
constexpr char kCopySuffix[] = ".new-";
// As many links as the system itself follows in one path.
constexpr int kMostLinks = 40;

int WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : ENOSPC;
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// Where a chain of symbolic links that starts at `name` in `directory`
// ends, as editors follow a link to save: `name` becomes the last name,
// which need not exist yet, and `linkedDirectory` the directory that holds
// it when that is another one. An errno when the chain cannot be followed.
int FollowLinks(int directory, OwnFd& linkedDirectory, std::string& name) {
    for (int hop = 0; hop < kMostLinks; ++hop) {
        const int at = linkedDirectory.Get() >= 0 ? linkedDirectory.Get() : directory;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlinkat(at, name.c_str(), target.data(), target.size());
        // Not a link, or nothing there yet: the chain ends here.
        if (length < 0)
            return errno == EINVAL || errno == ENOENT ? 0 : errno;
        if (static_cast<std::size_t>(length) == target.size())
            return ENAMETOOLONG;
        target.resize(static_cast<std::size_t>(length));
        const std::size_t slash = target.rfind('/');
        if (slash == std::string::npos) {
            name = target;
            continue;
        }
        name = target.substr(slash + 1);
        if (name.empty())
            return EISDIR;
        // The slash itself stays for a link to a file at the root.
        const int next =
            openat(at, target.substr(0, slash + 1).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (next < 0)
            return errno;
        linkedDirectory.Reset(next);
    }
    return ELOOP;
}

// A session killed while it wrote leaves its copy behind. The copy of a
// process that is gone is removed; one of a live process is being written.
void RemoveStaleCopies(int directory, const std::string& name) {
    const int listed = openat(directory, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0)
        return;
    DIR* list = fdopendir(listed);
    if (!list) {
        close(listed);
        return;
    }
    const std::string prefix = name + kCopySuffix;
    while (const dirent* entry = readdir(list)) {
        const std::string_view entryName(entry->d_name);
        if (!entryName.starts_with(prefix))
            continue;
        const std::string_view digits = entryName.substr(prefix.size());
        pid_t pid = 0;
        const auto [end, failure] =
            std::from_chars(digits.data(), digits.data() + digits.size(), pid);
        if (failure != std::errc() || end != digits.data() + digits.size() || pid <= 0)
            continue;
        if (kill(pid, 0) != 0 && errno == ESRCH)
            unlinkat(listed, entry->d_name, 0);
    }
    closedir(list);
}

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
        new HistoryDirectory(fd, historyPath, historyPath.substr(slash + 1)));
}

HistoryDirectory::~HistoryDirectory() {
    close(m_fd);
}

std::optional<std::string> HistoryDirectory::Read(std::string& problem) const {
    // The type is asked before the file is opened: opening a device may
    // do something of its own.
    struct stat status {};
    if (fstatat(m_fd, m_fileName.c_str(), &status, 0) != 0) {
        // None yet, or a link to a file not made yet.
        if (errno == ENOENT)
            return std::string();
        problem = std::strerror(errno);
        return std::nullopt;
    }
    const char* const notRegular = "not a regular file";
    if (!S_ISREG(status.st_mode)) {
        problem = notRegular;
        return std::nullopt;
    }
    const OwnFd file(
        openat(m_fd, m_fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.Get() < 0 || fstat(file.Get(), &status) != 0) {
        problem = std::strerror(errno);
        return std::nullopt;
    }
    // Something else may have taken the name since.
    if (!S_ISREG(status.st_mode)) {
        problem = notRegular;
        return std::nullopt;
    }
    std::string content;
    std::size_t used = 0;
    for (;;) {
        if (content.size() - used < kChunkSize)
            content.resize(used + kChunkSize);
        const ssize_t got = read(file.Get(), content.data() + used, content.size() - used);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            problem = std::strerror(errno);
            return std::nullopt;
        }
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
        if (used > kMostBytes) {
            problem = "larger than " + std::to_string(kMostBytes >> 20) + " MiB";
            return std::nullopt;
        }
    }
    content.resize(used);
    return content;
}

bool HistoryDirectory::Replace(std::string_view content, std::string& problem) const {
    OwnFd linkedDirectory(-1);
    std::string name = m_fileName;
    int error = FollowLinks(m_fd, linkedDirectory, name);
    const int directory = linkedDirectory.Get() >= 0 ? linkedDirectory.Get() : m_fd;
    if (error == 0) {
        RemoveStaleCopies(directory, name);
        const std::string fresh = name + kCopySuffix + std::to_string(getpid());
        unlinkat(directory, fresh.c_str(), 0);
        OwnFd file(openat(directory, fresh.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        error = file.Get() < 0 ? errno : WriteAll(file.Get(), content);
        // A full disk may show only here: the file is complete on the disk
        // before it takes the old one's place, or it does not take it.
        if (error == 0 && fsync(file.Get()) != 0)
            error = errno;
        if (error == 0 && close(file.Release()) != 0)
            error = errno;
        if (error == 0 && renameat(directory, fresh.c_str(), directory, name.c_str()) != 0)
            error = errno;
        if (error != 0)
            unlinkat(directory, fresh.c_str(), 0);
    }
    if (error != 0) {
        problem = std::strerror(error);
        return false;
    }
    // The new name lasts a crash once the directory is on the disk too.
    fsync(directory);
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
