// A session at a terminal as the shell sees it: standard output holds the
// results only, and the line-editing history lasts from one run to the next.

#include <gtest/gtest.h>
#include <stdlib.h>

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
    void TearDown() override { fs::remove_all(m_state); }

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
};

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

}  // namespace
