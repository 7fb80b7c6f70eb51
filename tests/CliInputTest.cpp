// Expressions read from standard input, one a line: a pipe read in large
// chunks, or a terminal with a prompt.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "CliTestSupport.h"

namespace {

using CliProcess::CliRequest;
using CliProcess::CliRun;
using CliProcess::ErrorBox;
using CliProcess::RunCli;

class CliInputTest : public CliProcess::CliFixture {};

TEST_F(CliInputTest, ComputesEveryLineAndSkipsBlankOnes) {
    const CliRun run = RunCli({}, "1+1\n\n  \t \r\n1/0\n2 * 3\r\n4");
    EXPECT_EQ(run.out, "2\n6\n4\n");
    EXPECT_EQ(run.err, ErrorBox("除数为零", "1/0"));
    EXPECT_EQ(run.status, 1);
}

TEST_F(CliInputTest, ALastLineWithoutLineFeedIsReadWhole) {
    std::string longSum;
    for (int i = 0; i < 20000; ++i)
        longSum += "1+";
    longSum += "1";  // 40,001 bytes, more than one read brings
    const struct {
        std::string input;
        std::string out;
    } cases[] = {
        {"1+1\n1000000/8", "2\n125000\n"},
        {"9\n1+2+3+4", "9\n10\n"},
        {"1\n2345678", "1\n2345678\n"},
        {longSum, "20001\n"},
        {"1\n" + longSum, "1\n20001\n"},
        // A CR alone is the old line ending; CRLF is one ending.
        {"1\r2\r3\r", "1\n2\n3\n"},
        {"1\r\n2\r\r\n3", "1\n2\n3\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input.substr(0, 20));
        const CliRun run = RunCli({}, c.input);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.status, 0);
    }
}

TEST_F(CliInputTest, ResultsAreOutWhileTheProgramWaitsForMoreInput) {
    // A pipe that stays open: were "2" held in the output buffer until the
    // input ends, an interrupted run would lose it.
    CliProcess::Pipe in = CliProcess::MakePipe();
    CliProcess::Pipe out = CliProcess::MakePipe();
    const pid_t pid = CliProcess::Spawn({}, CliProcess::EnvironmentWith({}), in.read.Get(),
                                        out.write.Get(), STDERR_FILENO);
    in.read.Reset();
    out.write.Reset();
    ASSERT_EQ(write(in.write.Get(), "1+1\n", 4), 4);
    pollfd ready{out.read.Get(), POLLIN, 0};
    ASSERT_EQ(poll(&ready, 1, 30'000), 1) << "no result while the input stays open";
    char text[8] = {};
    EXPECT_EQ(read(out.read.Get(), text, sizeof text), 2);
    EXPECT_STREQ(text, "2\n");
    in.write.Reset();
    EXPECT_EQ(CliProcess::WaitForExit(pid), 0);
}

TEST_F(CliInputTest, StatusIsZeroWhenEveryLineComputes) {
    const CliRun run = RunCli({"-v", "x=2"}, "x\nx*x\n\n");
    EXPECT_EQ(run.out, "2\n4\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.status, 0);

    const CliRun empty = RunCli({}, "");
    EXPECT_EQ(empty.out, "");
    EXPECT_EQ(empty.status, 0);
}

TEST_F(CliInputTest, OutcomesKeepTheirOrderOnOneStream) {
    CliRequest request;
    request.input = "1\n1/0\n2\n3\n1+*2\n4\n";
    request.mergeErrors = true;
    const CliRun run = RunCli(request);
    EXPECT_EQ(run.out,
              "1\n" + ErrorBox("除数为零", "1/0") + "2\n3\n" + ErrorBox("操作数", "*2") + "4\n");
    EXPECT_EQ(run.status, 1);
}

TEST_F(CliInputTest, ManyLinesAcrossReadChunksKeepTheirOrder) {
    // About a megabyte: lines straddle every chunk boundary, and every
    // 997th line fails.
    std::string input;
    std::string expected;
    for (int i = 0; i < 60000; ++i) {
        if (i % 997 == 0) {
            const std::string line = std::to_string(i) + "/0";
            input += line + "\n";
            expected += ErrorBox("除数为零", line.substr(0, 10));
        } else {
            input += std::to_string(i) + "+0.5 \n";
            expected += std::to_string(i) + ".5\n";
        }
    }
    CliRequest request;
    request.input = input;
    request.mergeErrors = true;
    const CliRun run = RunCli(request);
    EXPECT_TRUE(run.out == expected) << "the outputs differ in order or content";
    EXPECT_EQ(run.status, 1);
}

TEST_F(CliInputTest, LineLongerThanAReadChunk) {
    std::string sum = "1";
    for (int i = 1; i < 150000; ++i)
        sum += "+1";
    const CliRun run = RunCli({}, "2\n" + sum + "\n3\n");
    EXPECT_EQ(run.out, "2\n150000\n3\n");
    EXPECT_EQ(run.status, 0);
}

TEST_F(CliInputTest, NulByteIsReportedWhereItStands) {
    const std::string input("1+\0+2\n5\n", 8);
    const CliRun run = RunCli({}, input);
    EXPECT_EQ(run.out, "5\n");
    // Shown escaped, as every control character is.
    EXPECT_EQ(run.err, ErrorBox("操作数", "\\x00+2"));
    EXPECT_EQ(run.status, 1);
}

TEST_F(CliInputTest, ArgumentsTakePrecedenceOverStandardInput) {
    const CliRun run = RunCli({"7"}, "1/0\n");
    EXPECT_EQ(run.out, "7\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.status, 0);
}

TEST_F(CliInputTest, TerminalGetsAPromptBeforeEachLine) {
    // A plain terminal is read line by line; one with cursor control gets
    // line editing where libedit is installed. Both prompt alike.
    struct Terminal {
        const char* term;
        std::chrono::milliseconds rawModeWait;
    };
    const Terminal terminals[] = {{"TERM=dumb", std::chrono::milliseconds(0)},
                                  {"TERM=xterm", std::chrono::milliseconds(3000)}};
    for (const Terminal& terminal : terminals) {
        SCOPED_TRACE(terminal.term);
        // Ctrl-D at the start of a line ends the input.
        const CliRun run =
            CliProcess::RunCliOnTerminal({"-v", "x=3"}, {"1+x\n", "1+*2\n", "\x04"}, "> ",
                                         {terminal.term}, terminal.rawModeWait);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.out.find("4\r\n"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("在以下位置发生 \"操作数\" 错误"), std::string::npos) << run.out;
        // One prompt for each of the two lines and one for the end.
        EXPECT_EQ(CliProcess::CountOf(run.out, "> "), 3u) << run.out;
    }
}

}  // namespace
