// The console program's contract as other programs see it: arguments,
// options, exit statuses and the exact texts on standard output and error.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliTestSupport.h"

namespace {

using CliProcess::CliRun;
using CliProcess::ErrorBox;
using CliProcess::RunCli;

const std::string kUsageLine = "usage: tallyfern-cli [options] [--] [EXPRESSION...]\n";

class CliTest : public CliProcess::CliFixture {};

struct ResultCase {
    std::vector<std::string> args;
    std::string out;
};

TEST_F(CliTest, PrintsTheResultOfTheArguments) {
    const ResultCase cases[] = {
        {{"1+1"}, "2\n"},
        {{"1e20"}, "1e+020\n"},
        {{"2.5e-7"}, "2.5e-007\n"},
        {{"1/3"}, "0.333333333333333\n"},
        // Words are joined with blanks, which the engine then drops.
        {{"3", "-", "2"}, "1\n"},
        {{"2", "*", "(1", "+", "2)"}, "6\n"},
        // A leading '-' before a digit, '.' or '(' starts an expression, not
        // an option.
        {{"-2^2"}, "-4\n"},
        {{"-.5*4"}, "-2\n"},
        {{"-(1+2)"}, "-3\n"},
        // Options may stand among the words.
        {{"2", "*", "-v", "x=3", "x"}, "6\n"},
        // After "--" even option-like words are expression.
        {{"-v", "n=4", "--", "10", "-n"}, "6\n"},
        {{"-v", "x=2", "--", "-x"}, "-2\n"},
        // The natural form follows the result; a width alone draws nothing.
        {{"-n", "-w", "30", "1+1"}, "2\n1 + 1\n"},
        {{"--natural", "--width=7", "1/2"}, "0.5\n 1 \n---\n 2 \n"},
        {{"--width", "12", "1+1"}, "2\n"},
        {{"-nw30", "1+1"}, "2\n1 + 1\n"},
        {{"-w1", "1+1"}, "2\n"},
        {{"-n", "-w", "+5", "1+1"}, "2\n1 + 1\n"},
    };
    for (const ResultCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.status, 0);
    }
}

struct ErrorCase {
    std::vector<std::string> args;
    std::string err;
};

TEST_F(CliTest, ReportsAFailedComputationOnStandardErrorOnly) {
    const ErrorCase cases[] = {
        {{"1+*2"}, ErrorBox("操作数", "*2")},
        {{"1", "+", "*2"}, ErrorBox("操作数", "*2")},
        {{"1/0"}, ErrorBox("除数为零", "1/0")},
        {{"(1+2"}, ErrorBox("括号不匹配", "(1+2")},
        {{"y+1"}, ErrorBox("变量 y 未定义", "y+1")},
        // The excerpt holds ten bytes of the stripped expression.
        {{"1+*234567890123"}, ErrorBox("操作数", "*234567890")},
        // "--" ends the options, so "-n" is a variable here.
        {{"--", "-n"}, ErrorBox("变量 n 未定义", "-n")},
        // An empty expression is computed like any other.
        {{""}, ErrorBox("操作数", "")},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.status, 1);
    }
}

TEST_F(CliTest, RejectsAWrongCommandLineWithUsage) {
    const std::vector<std::string> cases[] = {
        {"--width", "0", "1"},
        {"--width", "x", "1"},
        {"--width=1.5", "1"},
        {"-w", "-3", "1"},
        {"-w", "99999999999", "1"},
        {"-w"},
        {"--width"},
        {"--bogus", "1"},
        {"-x", "1"},
        {"-nq", "1"},
        {"--natural=1", "1"},
        {"-v", "x", "1"},
        {"--var"},
        {"--var=x", "1"},
        {"--help=1"},
    };
    for (const std::vector<std::string>& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.status, 2);
        // One line says what was wrong, the next how to call the program.
        ASSERT_TRUE(run.err.starts_with("tallyfern-cli: ")) << run.err;
        ASSERT_GT(run.err.size(), kUsageLine.size());
        EXPECT_TRUE(run.err.ends_with(kUsageLine)) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - kUsageLine.size() - 1) << run.err;
    }
}

TEST_F(CliTest, UsageErrorNamesTheOffendingOption) {
    EXPECT_NE(RunCli({"--width", "x"}).err.find("'x'"), std::string::npos);
    EXPECT_NE(RunCli({"--bogus"}).err.find("--bogus"), std::string::npos);
    EXPECT_NE(RunCli({"-v", "novalue"}).err.find("NAME=VALUE"), std::string::npos);
    // A width too large is not called "not a whole number".
    EXPECT_EQ(
        RunCli({"-w", "99999999999"}).err,
        "tallyfern-cli: option '-w' takes at most 2147483647, not '99999999999'\n" + kUsageLine);
}

TEST_F(CliTest, HelpAndVersionSucceedWithoutComputing) {
    for (const char* option : {"-h", "--help"}) {
        SCOPED_TRACE(option);
        const CliRun run = RunCli({"1+", option});
        EXPECT_TRUE(run.out.starts_with(kUsageLine)) << run.out;
        EXPECT_NE(run.out.find("--var"), std::string::npos);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.status, 0);
    }
    const CliRun version = RunCli({"--version"});
    EXPECT_EQ(version.out, "tallyfern-cli " TALLYFERN_PROJECT_VERSION "\n");
    EXPECT_EQ(version.err, "");
    EXPECT_EQ(version.status, 0);
}

TEST_F(CliTest, AnErrorBeforeHelpWins) {
    const CliRun run = RunCli({"--bogus", "--help"});
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.status, 2);
}

TEST_F(CliTest, AFailedWriteOfTheResultIsAFailure) {
    if (access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no /dev/full on this system";
    CliProcess::CliRequest request;
    request.args = {"1+1"};
    request.stdoutFile = "/dev/full";
    const CliRun run = RunCli(request);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.starts_with("tallyfern-cli: cannot write to standard output")) << run.err;
}

// Quoted user text cannot drive the terminal the errors go to, nor read
// as other text than it is (turned around, or hidden), and a refused
// definition is quoted only in part.
TEST_F(CliTest, QuotedTextShowsControlCharactersEscaped) {
    const std::string longValue(5000, '7');
    const struct {
        std::vector<std::string> args;
        std::string input;
        std::string shown;  // in standard error
        std::string locale = "LC_ALL=C.UTF-8";
    } cases[] = {
        {{}, "\x1b[2J\n", "\\x1b[2J\n"},
        {{"-v", "x=\x1b]0;title\x07"}, "", "-v x=\\x1b]0;title\\x07: "},
        {{"-v", "x=a" + longValue}, "", "-v x=a" + longValue.substr(0, 77) + "...: "},
        {{}, "1+\u202e2\u2066\n", "\\xe2\\x80\\xae2\\xe2\\x81\\xa6\n"},
        {{"-v", "x=\u200b1\u00ad\u00e9"}, "", "-v x=\\xe2\\x80\\x8b1\\xc2\\xad\u00e9: "},
        // The same character in another encoding: U+202E in GB18030.
        {{},
         "1+\x81\x36\xa7\x31"
         "2\n",
         "\\x81\\x36\\xa7\\x31"
         "2\n",
         "LC_ALL=zh_CN.GB18030"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        const CliRun run = RunCli(c.args, c.input, {c.locale});
        EXPECT_NE(run.err.find(c.shown), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find_first_of("\x07\x1b"), std::string::npos);
        for (const char* hidden : {"\u202e", "\u2066", "\u200b", "\u00ad", "\x81\x36\xa7\x31"})
            EXPECT_EQ(run.err.find(hidden), std::string::npos) << run.err;
        EXPECT_LT(run.err.size(), 300u);
    }
}

}  // namespace
