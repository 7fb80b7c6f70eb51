#pragma once

// Runs the built console program as another process would: arguments,
// standard input and environment in, standard output, standard error and the
// exit status out, each kept apart.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

extern char** environ;

namespace CliProcess {

#ifdef TALLYFERN_CLI_PATH
inline constexpr const char* kCliPath = TALLYFERN_CLI_PATH;
#else
inline constexpr const char* kCliPath = nullptr;
#endif

struct CliRun {
    std::string out;
    std::string err;
    int status = -1;  // the exit status; -1 when a signal ended the program
};

struct CliRequest {
    std::vector<std::string> args;
    std::string input;
    // "NAME=VALUE" entries that replace or add to the test's environment.
    // LC_ALL is C.UTF-8 unless given here.
    std::vector<std::string> env;
    // Standard error goes into `out` too, as when both reach one terminal.
    bool mergeErrors = false;
    // Standard output goes to this file instead of a pipe.
    const char* stdoutFile = nullptr;
    // The program's address space is limited to this many KiB (0: no limit).
    std::size_t memoryLimitKb = 0;
};

// A descriptor that closes itself.
class Fd {
  public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    Fd(Fd&& other) noexcept : m_fd(other.Release()) {}
    Fd& operator=(Fd&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    ~Fd() { Reset(); }
    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }
    void Reset(int fd = -1) {
        if (m_fd >= 0)
            close(m_fd);
        m_fd = fd;
    }

  private:
    int m_fd = -1;
};

struct Pipe {
    Fd read;
    Fd write;
};

inline Pipe MakePipe() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe2 failed");
    return {Fd(fds[0]), Fd(fds[1])};
}

// The test's environment with `changes` applied.
inline std::vector<std::string> EnvironmentWith(std::vector<std::string> changes) {
    bool localeGiven = false;
    for (const std::string& change : changes)
        localeGiven |= change.starts_with("LC_ALL=");
    if (!localeGiven)
        changes.emplace_back("LC_ALL=C.UTF-8");
    std::vector<std::string> env;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view text(*entry);
        const std::string_view name = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const std::string& change : changes)
            replaced |= change.starts_with(name);
        if (!replaced)
            env.emplace_back(text);
    }
    env.insert(env.end(), changes.begin(), changes.end());
    return env;
}

inline std::vector<char*> PointerList(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Starts the program with its three standard descriptors set to the given
// ones; returns its process id.
// With `ownProcessGroup`, the program leads a process group of its own, so
// that a signal it sends its group reaches no test.
inline pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env,
                   int in, int out, int err, std::size_t memoryLimitKb = 0,
                   bool ownProcessGroup = false) {
    std::vector<std::string> argv{kCliPath};
    // The shell sets the limit and then becomes the program.
    const char* path = kCliPath;
    if (memoryLimitKb > 0) {
        path = "/bin/sh";
        argv = {"sh", "-c", "ulimit -v " + std::to_string(memoryLimitKb) + " && exec \"$0\" \"$@\"",
                kCliPath};
    }
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> envCopy = env;
    std::vector<char*> argvPointers = PointerList(argv);
    std::vector<char*> envPointers = PointerList(envCopy);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    if (ownProcessGroup) {
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
    }
    pid_t pid = -1;
    const int result =
        posix_spawn(&pid, path, &actions, &attributes, argvPointers.data(), envPointers.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0)
        throw std::runtime_error(std::string("cannot start the program: ") + std::strerror(result));
    return pid;
}

inline int WaitForExit(pid_t pid) {
    int wstatus = 0;
    while (waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

constexpr auto kTimeout = std::chrono::seconds(60);

inline CliRun RunCli(const CliRequest& request) {
    // The program may exit before it has read all of its input.
    signal(SIGPIPE, SIG_IGN);
    Pipe in = MakePipe();
    Pipe out = MakePipe();
    Pipe err = MakePipe();
    Fd outFile;
    if (request.stdoutFile)
        outFile.Reset(open(request.stdoutFile, O_WRONLY | O_CLOEXEC));
    const int childOut = request.stdoutFile ? outFile.Get() : out.write.Get();
    const int childErr = request.mergeErrors ? childOut : err.write.Get();
    const pid_t pid = Spawn(request.args, EnvironmentWith(request.env), in.read.Get(), childOut,
                            childErr, request.memoryLimitKb);
    in.read.Reset();
    out.write.Reset();
    err.write.Reset();
    outFile.Reset();

    CliRun run;
    std::string_view pending = request.input;
    // A blocking write could wait for the program while it waits for us to
    // read its output.
    fcntl(in.write.Get(), F_SETFL, O_NONBLOCK);
    if (pending.empty())
        in.write.Reset();
    const auto deadline = std::chrono::steady_clock::now() + kTimeout;
    while (out.read.Get() >= 0 || err.read.Get() >= 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            break;
        }
        pollfd fds[3] = {
            {in.write.Get(), POLLOUT, 0}, {out.read.Get(), POLLIN, 0}, {err.read.Get(), POLLIN, 0}};
        if (poll(fds, 3, 1000) < 0 && errno != EINTR)
            break;
        if (fds[0].revents != 0) {
            const ssize_t written = write(in.write.Get(), pending.data(), pending.size());
            if (written > 0)
                pending.remove_prefix(static_cast<std::size_t>(written));
            if ((written < 0 && errno != EAGAIN && errno != EINTR) || pending.empty())
                in.write.Reset();
        }
        Fd* sources[2] = {&out.read, &err.read};
        std::string* sinks[2] = {&run.out, &run.err};
        for (int i = 0; i < 2; ++i) {
            if (fds[i + 1].revents == 0)
                continue;
            char buffer[65536];
            const ssize_t got = read(sources[i]->Get(), buffer, sizeof buffer);
            if (got > 0)
                sinks[i]->append(buffer, static_cast<std::size_t>(got));
            else if (got == 0 || errno != EINTR)
                sources[i]->Reset();
        }
    }
    in.write.Reset();
    run.status = WaitForExit(pid);
    return run;
}

inline CliRun RunCli(std::vector<std::string> args, std::string input = {},
                     std::vector<std::string> env = {}) {
    return RunCli(CliRequest{std::move(args), std::move(input), std::move(env)});
}

inline std::size_t CountOf(std::string_view text, std::string_view part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// Runs the program on a pseudo-terminal and types each of `lines` (with its
// own line end, or Ctrl-D) once the program has prompted for it; returns all
// that the terminal showed, the echo of the typing included, in `out`.
//
// A key typed while the terminal is still in its cooked mode is taken by
// the terminal itself (a Ctrl-D becomes an end of file, read later as a
// NUL byte), so each line is typed only once the program has shown it is
// ready: the echo of the last line's end, a prompt after it, and, for a line
// editor, the switch to raw mode, waited for up to `rawModeWait`.
//
// With `stdoutFile`, standard output goes to that file instead, as with a
// redirection in the shell. `beforeLine`, when given, runs just before line
// i is typed (a signal sent to the program there stands for a key such as
// Ctrl-C: the terminal is not the program's controlling one).
inline CliRun RunCliOnTerminal(
    const std::vector<std::string>& args, const std::vector<std::string>& lines,
    std::string_view prompt, std::vector<std::string> env,
    std::chrono::milliseconds rawModeWait = std::chrono::milliseconds(0),
    const char* stdoutFile = nullptr,
    const std::function<void(std::size_t i, pid_t pid)>& beforeLine = {}) {
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    Fd masterFd(master);
    Fd slaveFd(slave);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    Fd outFile;
    if (stdoutFile)
        outFile.Reset(open(stdoutFile, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    const pid_t pid = Spawn(args, EnvironmentWith(std::move(env)), slave,
                            stdoutFile ? outFile.Get() : slave, slave, 0, true);
    slaveFd.Reset();
    outFile.Reset();

    CliRun run;
    std::size_t typed = 0;
    // Where the output must show the program ready for the next line: the
    // echo of the last line's end, then a prompt. Counting prompts would
    // not do: a line editor redraws its prompt with a line brought back
    // from the history, before it has read the line's end.
    std::size_t readyFrom = 0;
    bool lineEndTyped = false;
    const auto promptShown = [&] {
        std::size_t from = readyFrom;
        if (lineEndTyped)
            from = run.out.find('\n', from);
        return from != std::string::npos && run.out.find(prompt, from) != std::string::npos;
    };
    std::chrono::steady_clock::time_point promptSeen{};
    const auto deadline = std::chrono::steady_clock::now() + kTimeout;
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (now > deadline) {
            kill(pid, SIGKILL);
            break;
        }
        bool waiting = false;
        if (typed < lines.size() && promptShown()) {
            if (promptSeen == std::chrono::steady_clock::time_point{})
                promptSeen = now;
            termios mode{};
            const bool canonical = tcgetattr(master, &mode) == 0 && (mode.c_lflag & ICANON) != 0;
            waiting = canonical && now < promptSeen + rawModeWait;
            if (!waiting) {
                if (beforeLine)
                    beforeLine(typed, pid);
                const std::string& line = lines[typed++];
                promptSeen = {};
                readyFrom = run.out.size();
                lineEndTyped = line.ends_with('\n');
                if (write(master, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
                    throw std::runtime_error("cannot type into the terminal");
            }
        }
        pollfd fd{master, POLLIN, 0};
        if (poll(&fd, 1, waiting ? 5 : 1000) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(master, buffer, sizeof buffer);
        // Linux reports EIO once the program has closed its end.
        if (got == 0 || (got < 0 && errno != EINTR))
            break;
        if (got > 0)
            run.out.append(buffer, static_cast<std::size_t>(got));
    }
    run.status = WaitForExit(pid);
    return run;
}

}  // namespace CliProcess
