// Results on their way out: not held back during a long computation, not
// lost to an interruption, nor to a descriptor that is not ready; and not
// computed on once nobody reads them.

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <chrono>
#include <thread>

#include "CliTestSupport.h"
#include "ConsoleOutput.h"

namespace {

using CliProcess::Fd;
using CliProcess::MakePipe;
using CliProcess::Pipe;

// Reads what `fd` delivers until `done` holds or it ends, within a minute.
template <class Done>
std::string ReadUntil(int fd, Done done, std::chrono::milliseconds pause = {}) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done(text) && std::chrono::steady_clock::now() < deadline) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 100) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(fd, buffer, pause.count() > 0 ? 1000 : sizeof buffer);
        if (got <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
        std::this_thread::sleep_for(pause);
    }
    return text;
}

// The status of a child that ended, or -1 when it is still running after
// `limit` (it is then killed).
int WaitStatus(pid_t pid, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status;
}

// A child holds a result in its buffer and then, without writing it itself,
// is interrupted or computes for a long time: the result reaches the reader
// all the same, and an interruption ends the child as it would have.
TEST(ConsoleOutputSignals, WhatWasComputedIsWrittenOutWithoutBeingFlushed) {
    const struct {
        int signal;  // 0: none, a long computation
    } cases[] = {{SIGINT}, {SIGTERM}, {0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.signal);
        Pipe out = MakePipe();
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ConsoleOutput output(out.write.Get(), out.write.Get());
            output.WriteOutOnSignals(c.signal == 0);
            output.Result("2\n");
            if (c.signal != 0)
                raise(c.signal);
            // Busy, as a computation is, far longer than the test waits.
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
            while (std::chrono::steady_clock::now() < end) {
            }
            _exit(0);
        }
        out.write.Reset();
        EXPECT_EQ(ReadUntil(out.read.Get(), [](const std::string& text) { return !text.empty(); }),
                  "2\n");
        if (c.signal == 0)
            kill(pid, SIGKILL);
        const int status = WaitStatus(pid, std::chrono::seconds(60));
        EXPECT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), c.signal == 0 ? SIGKILL : c.signal);
    }
}

// An interruption while a write waits for a reader that has stopped
// reading waits for it too; a second one ends the program at once.
TEST(ConsoleOutputSignals, ASecondInterruptionDoesNotWaitForTheReader) {
    Pipe out = MakePipe();
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ConsoleOutput output(out.write.Get(), out.write.Get());
        output.WriteOutOnSignals(false);
        const std::string line(1000, '7');
        for (;;)
            output.Result(line);
    }
    out.write.Reset();
    // Some of the results, so that the pipe is full and the child waits.
    EXPECT_FALSE(
        ReadUntil(out.read.Get(), [](const std::string& text) { return !text.empty(); }).empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    kill(pid, SIGINT);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    kill(pid, SIGINT);
    const int status = WaitStatus(pid, std::chrono::seconds(30));
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
}

class CliOutputTest : public CliProcess::CliFixture {};

// The program with standard input and output given; SIGPIPE is ignored
// here, and so in the program too.
pid_t StartCli(int in, int out, std::vector<std::string> args = {}) {
    signal(SIGPIPE, SIG_IGN);
    return CliProcess::Spawn(args, CliProcess::EnvironmentWith({}), in, out, STDERR_FILENO);
}

Fd InputFile(const std::string& text) {
    Fd file(memfd_create("input", MFD_CLOEXEC));
    EXPECT_EQ(write(file.Get(), text.data(), text.size()), static_cast<ssize_t>(text.size()));
    lseek(file.Get(), 0, SEEK_SET);
    return file;
}

// Both ends non-blocking, standard output read slowly and standard input
// arriving late: the program waits for them, and every result arrives.
TEST_F(CliOutputTest, DescriptorsThatAreNotReadyAreWaitedFor) {
    constexpr int kLines = 100'000;
    {
        std::string lines;
        for (int i = 0; i < kLines; ++i)
            lines += "1+1\n";
        const Fd in = InputFile(lines);
        Pipe out = MakePipe();
        fcntl(out.write.Get(), F_SETFL, O_NONBLOCK);
        const pid_t pid = StartCli(in.Get(), out.write.Get());
        out.write.Reset();
        const std::string text = ReadUntil(
            out.read.Get(), [](const std::string&) { return false; }, std::chrono::milliseconds(1));
        EXPECT_EQ(CliProcess::CountOf(text, "2\n"), static_cast<std::size_t>(kLines));
        const int status = WaitStatus(pid, std::chrono::seconds(60));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    {
        Pipe in = MakePipe();
        Pipe out = MakePipe();
        fcntl(in.read.Get(), F_SETFL, O_NONBLOCK);
        const pid_t pid = StartCli(in.read.Get(), out.write.Get());
        in.read.Reset();
        out.write.Reset();
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_EQ(write(in.write.Get(), "1+1\n", 4), 4);
        in.write.Reset();
        EXPECT_EQ(ReadUntil(out.read.Get(), [](const std::string&) { return false; }), "2\n");
        const int status = WaitStatus(pid, std::chrono::seconds(60));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
}

// With SIGPIPE ignored, a write to a pipe nobody reads fails: the program
// stops there, however much input is left.
TEST_F(CliOutputTest, AReaderThatHasGoneEndsTheRun) {
    Pipe in = MakePipe();
    Pipe out = MakePipe();
    const pid_t pid = StartCli(in.read.Get(), out.write.Get());
    in.read.Reset();
    out.write.Reset();
    std::thread writer([&in] {
        // Endless input, as from `yes`, until the program has gone.
        std::string many;
        for (int i = 0; i < 1024; ++i)
            many += "1+1\n";
        while (write(in.write.Get(), many.data(), many.size()) > 0) {
        }
    });
    EXPECT_EQ(ReadUntil(out.read.Get(), [](const std::string& text) { return !text.empty(); })
                  .substr(0, 2),
              "2\n");
    out.read.Reset();
    const int status = WaitStatus(pid, std::chrono::seconds(60));
    writer.join();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
}

}  // namespace
