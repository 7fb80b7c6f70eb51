// A session at a terminal as the shell sees it: standard output holds the
// results only, and the line-editing history lasts from one run to the next.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "CliTestSupport.h"

namespace {

namespace fs = std::filesystem;
using CliProcess::CliRun;

// libedit switches the terminal to raw mode after it has prompted. Keys
// typed before that may be dropped when it switches, so the test waits for
// raw mode, however long a loaded machine takes to get there.
constexpr std::chrono::milliseconds kRawModeWait(15000);
constexpr char kCtrlD[] = "\x04";
constexpr char kUpAndEnter[] = "\x1b[A\n";
// The first line of the history file as libedit writes it.
constexpr char kHistoryHeader[] = "_HiStOrY_V2_\n";

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class CliTerminalTest : public CliProcess::CliFixture {
  protected:
    void SetUp() override {
        CliFixture::SetUp();
        std::string pattern = (fs::temp_directory_path() / "tallyfern-state.XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_state = pattern;
    }
    void TearDown() override {
        if (!m_mounted.empty())
            umount2(m_mounted.c_str(), MNT_DETACH);
        fs::remove_all(m_state);
    }

    fs::path HistoryFile() const { return m_state / "tallyfern" / "history"; }
    std::string StateVariable() const { return "XDG_STATE_HOME=" + m_state.string(); }

    CliRun Type(const std::vector<std::string>& lines, std::string term,
                const char* stdoutFile = nullptr,
                const std::function<void(std::size_t, pid_t)>& beforeLine = {}) const {
        const auto wait = term == "TERM=dumb" ? std::chrono::milliseconds(0) : kRawModeWait;
        return CliProcess::RunCliOnTerminal({}, lines, "> ", {term, StateVariable()}, wait,
                                            stdoutFile, beforeLine);
    }

    fs::path m_state;
    fs::path m_mounted;
};

void WriteFile(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// What a look at the path finds, without following a link: its kind, and
// where a link points or what a file holds.
std::string Look(const fs::path& path) {
    const fs::file_status status = fs::symlink_status(path);
    if (fs::is_symlink(status))
        return "link to " + fs::read_symlink(path).string();
    if (fs::is_regular_file(status))
        return "file holding " + ReadFile(path);
    return "kind " + std::to_string(static_cast<int>(status.type()));
}

// The copies of the history that writing left in `directory`.
std::vector<std::string> CopiesLeftIn(const fs::path& directory) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory))
        if (entry.path().filename().string().find(".new-") != std::string::npos)
            names.push_back(entry.path().filename().string());
    return names;
}

TEST_F(CliTerminalTest, StandardOutputRedirectedToAFileReceivesTheResultsOnly) {
    // Read line by line, and with line editing where libedit is installed.
    for (const char* term : {"TERM=dumb", "TERM=xterm"}) {
        SCOPED_TRACE(term);
        const fs::path results = m_state / "results";
        const CliRun run = Type({"1+3\n", "1+*2\n", kCtrlD}, term, results.c_str());
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(ReadFile(results), "4\n");
        // The prompts and the error still reach the terminal.
        EXPECT_EQ(CliProcess::CountOf(run.out, "> "), 3u) << run.out;
        EXPECT_NE(run.out.find("\"操作数\""), std::string::npos) << run.out;
    }
}

TEST_F(CliTerminalTest, TheHistoryIsKeptForTheNextRunAtATerminal) {
    const CliRun first = Type({"1+*2\n", "6*7\n", kCtrlD}, "TERM=xterm");
    ASSERT_TRUE(fs::exists(HistoryFile())) << first.out;
    EXPECT_EQ(ReadFile(HistoryFile()), std::string(kHistoryHeader) + "1+*2\n6*7\n");
    // What was typed is the user's own.
    EXPECT_EQ(fs::status(HistoryFile()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    // Up brings back the last line of the run before.
    const CliRun second = Type({kUpAndEnter, kCtrlD}, "TERM=xterm");
    EXPECT_EQ(second.status, 0);
    EXPECT_NE(second.out.find("42\r\n"), std::string::npos) << second.out;
}

TEST_F(CliTerminalTest, TheHistoryKeepsTheLastThousandLines) {
    fs::create_directories(HistoryFile().parent_path());
    std::string old = kHistoryHeader;
    for (int i = 1; i <= 1200; ++i)
        old += std::to_string(i) + "\n";
    std::ofstream(HistoryFile(), std::ios::binary) << old;

    Type({"7*6\n", kCtrlD}, "TERM=xterm");
    std::string expected = kHistoryHeader;
    for (int i = 202; i <= 1200; ++i)
        expected += std::to_string(i) + "\n";
    expected += "7*6\n";
    EXPECT_TRUE(ReadFile(HistoryFile()) == expected) << "the history file holds other lines";
}

TEST_F(CliTerminalTest, NoHistoryIsWrittenWhenStandardInputIsNoTerminal) {
    const CliRun run = CliProcess::RunCli({}, "6*7\n", {"TERM=xterm", StateVariable()});
    EXPECT_EQ(run.out, "42\n");
    EXPECT_FALSE(fs::exists(m_state / "tallyfern"));
}

// A session that another one overlaps, or that Ctrl-C ends at the prompt,
// keeps its lines, and so does the other.
TEST_F(CliTerminalTest, EverySessionKeepsItsLines) {
    // The other session runs whole while the first waits at its prompt.
    const CliRun first =
        Type({"6*7\n", kCtrlD}, "TERM=xterm", nullptr, [this](std::size_t i, pid_t) {
            if (i == 0)
                Type({"2*2\n", kCtrlD}, "TERM=xterm");
        });
    EXPECT_EQ(first.status, 0);
    const CliRun interrupted =
        Type({"1+1\n", ""}, "TERM=xterm", nullptr, [](std::size_t i, pid_t pid) {
            if (i == 1)
                kill(pid, SIGINT);
        });
    EXPECT_EQ(interrupted.status, -1);
    EXPECT_EQ(ReadFile(HistoryFile()), std::string(kHistoryHeader) + "2*2\n6*7\n1+1\n");
}

// Where others may write, a link put in place of the history file could
// make the program overwrite a file of the user's: no history is kept there.
TEST_F(CliTerminalTest, AStateDirectoryOthersCanWriteToIsRefused) {
    fs::create_directories(HistoryFile().parent_path());
    fs::permissions(HistoryFile().parent_path(), fs::perms::all);
    const CliRun run = Type({"6*7\n", kCtrlD}, "TERM=xterm");
    EXPECT_EQ(CliProcess::CountOf(run.out, "the history is not kept"), 1u) << run.out;
    EXPECT_NE(run.out.find("42"), std::string::npos);
    EXPECT_FALSE(fs::exists(HistoryFile()));
}

// The first line typed once replaced a history that did not read, and a
// pipe or a device there stalled the program or filled its memory.
TEST_F(CliTerminalTest, AHistoryThatCannotBeReadIsLeftAsItIs) {
    const struct {
        const char* what;
        std::function<void(const fs::path&)> make;
        bool unreadableByRoot = true;
    } cases[] = {
        {"a damaged first line", [](const fs::path& p) { WriteFile(p, "_HiSt0rY\n1+1\n"); }},
        {"no first line", [](const fs::path& p) { WriteFile(p, "1+1\n2+2\n"); }},
        {"a pipe", [](const fs::path& p) { mkfifo(p.c_str(), 0600); }},
        {"a link to an endless device",
         [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }},
        {"a link to itself", [](const fs::path& p) { fs::create_symlink(p.filename(), p); }},
        {"a file nobody may read",
         [](const fs::path& p) {
             WriteFile(p, std::string(kHistoryHeader) + "1+1\n");
             fs::permissions(p, fs::perms::none);
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Root reads a file whatever its permissions say.
        if (!c.unreadableByRoot && geteuid() == 0)
            continue;
        fs::remove_all(HistoryFile().parent_path());
        fs::create_directories(HistoryFile().parent_path());
        c.make(HistoryFile());
        const std::string before = Look(HistoryFile());
        const CliRun run = Type({"6*7\n", "7*7\n", kCtrlD}, "TERM=xterm");
        EXPECT_NE(run.out.find("49\r\n"), std::string::npos) << run.out;
        EXPECT_EQ(CliProcess::CountOf(run.out, "the history is not kept"), 1u) << run.out;
        EXPECT_EQ(Look(HistoryFile()), before);
    }
}

// A file system with no room for the new copy: the old history stays whole,
// and the failure is said once, however many lines follow.
TEST_F(CliTerminalTest, AFullDiskLeavesTheHistoryAsItWas) {
    const fs::path directory = HistoryFile().parent_path();
    fs::create_directories(directory);
    if (mount("tmpfs", directory.c_str(), "tmpfs", 0, "size=64k,mode=0700") != 0)
        GTEST_SKIP() << "no small file system can be mounted here: " << std::strerror(errno);
    m_mounted = directory;
    // 40 KiB of history: its new copy cannot fit beside it.
    std::string old = kHistoryHeader;
    for (int i = 0; i < 1000; ++i)
        old += std::to_string(1000000 + i) + "+" + std::string(30, '1') + "\n";
    WriteFile(HistoryFile(), old);
    ASSERT_EQ(ReadFile(HistoryFile()), old) << "the small file system holds less than expected";

    const CliRun run = Type({"6*7\n", "7*7\n", kCtrlD}, "TERM=xterm");
    EXPECT_NE(run.out.find("49\r\n"), std::string::npos) << run.out;
    EXPECT_EQ(CliProcess::CountOf(run.out, "the history was not saved"), 1u) << run.out;
    EXPECT_TRUE(ReadFile(HistoryFile()) == old) << "the history changed";
    EXPECT_EQ(CopiesLeftIn(directory), std::vector<std::string>{});
}

// A history linked to a file elsewhere stays linked, as an editor keeps it.
TEST_F(CliTerminalTest, ALinkedHistoryIsWrittenWhereTheLinkPoints) {
    const struct {
        const char* what;
        std::string target;  // relative to the history's directory
        std::string before;  // none: the link points at nothing yet
    } cases[] = {
        {"a relative link", "kept/history-file", std::string(kHistoryHeader) + "1+1\n"},
        {"an absolute link to nothing yet", (m_state / "elsewhere").string(), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path directory = HistoryFile().parent_path();
        fs::remove_all(directory);
        fs::create_directories(directory / "kept");
        fs::create_symlink(c.target, HistoryFile());
        const fs::path target = directory / c.target;
        if (!c.before.empty())
            WriteFile(target, c.before);

        Type({"6*7\n", kCtrlD}, "TERM=xterm");
        EXPECT_EQ(Look(HistoryFile()), "link to " + c.target);
        EXPECT_EQ(ReadFile(target),
                  (c.before.empty() ? std::string(kHistoryHeader) : c.before) + "6*7\n");
        EXPECT_EQ(CopiesLeftIn(target.parent_path()), std::vector<std::string>{});
        fs::remove(target);
    }
}

// A session killed while it wrote leaves its copy; the next one removes it,
// but not the copy a live session is writing.
TEST_F(CliTerminalTest, CopiesLeftByKilledSessionsAreRemoved) {
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    ASSERT_EQ(CliProcess::WaitForExit(gone), 0);
    const struct {
        pid_t writer;
        bool stays;
    } cases[] = {{gone, false}, {getpid(), true}};
    fs::create_directories(HistoryFile().parent_path());
    for (const auto& c : cases)
        WriteFile(HistoryFile().string() + ".new-" + std::to_string(c.writer), "_HiSt");

    Type({"6*7\n", kCtrlD}, "TERM=xterm");
    EXPECT_EQ(ReadFile(HistoryFile()), std::string(kHistoryHeader) + "6*7\n");
    for (const auto& c : cases)
        EXPECT_EQ(fs::exists(HistoryFile().string() + ".new-" + std::to_string(c.writer)), c.stays)
            << c.writer;
}

}  // namespace
