// --table: one line per value of the variable, each the same as computing
// the expression alone with the variable at that value.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliTestSupport.h"

namespace {

using CliProcess::CliRun;
using CliProcess::RunCli;

class CliTableTest : public CliProcess::CliFixture {};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = text.find('\n', from);
        lines.push_back(text.substr(from, end - from));
        from = end + 1;
    }
    return lines;
}

TEST_F(CliTableTest, EachLineIsTheValueComputedAlone) {
    struct Case {
        std::vector<std::string> variables;  // -v options
        std::string table;
        std::string expression;
        std::vector<std::string> xs;
    };
    const Case cases[] = {
        {{}, "x=0:1:0.25", "x^2", {"0", "0.25", "0.5", "0.75", "1"}},
        // Short decimals step without drifting from what they print as.
        {{"-v", "a=2"}, "t=0:0.3:0.1", "a*t+t/3", {"0", "0.1", "0.2", "0.3"}},
        {{}, "x=1:-1:-0.5", "1/x", {"1", "0.5", "0", "-0.5", "-1"}},
        {{}, "x=-2:2:1", "asin(x)", {"-2", "-1", "0", "1", "2"}},
        {{}, "x=5:5:1", "sin(x)/x", {"5"}},
        {{}, "x=1e300:3e300:1e300", "x*x", {"1e+300", "2e+300", "3e+300"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table + " " + c.expression);
        std::vector<std::string> args = c.variables;
        args.insert(args.end(), {"--table", c.table, c.expression});
        const CliRun table = RunCli(args);
        const std::vector<std::string> lines = Lines(table.out);
        ASSERT_EQ(lines.size(), c.xs.size()) << table.out;
        std::string errors;
        int status = 0;
        const std::string name = c.table.substr(0, c.table.find('='));
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::vector<std::string> alone = c.variables;
            alone.insert(alone.end(), {"-v", name + "=" + c.xs[i], c.expression});
            const CliRun single = RunCli(alone);
            const std::string value = single.out.empty() ? "" : Lines(single.out).front();
            EXPECT_EQ(lines[i], c.xs[i] + "\t" + value);
            errors += single.err;
            status = std::max(status, single.status);
        }
        EXPECT_EQ(table.err, errors);
        EXPECT_EQ(table.status, status);
    }
}

TEST_F(CliTableTest, AnExpressionThatDoesNotReadGivesOneErrorAndNoLines) {
    const CliRun table = RunCli({"--table", "x=0:100:1", "x+"});
    const CliRun single = RunCli({"-v", "x=0", "x+"});
    EXPECT_EQ(table.out, "");
    EXPECT_EQ(table.err, single.err);
    EXPECT_EQ(table.status, 1);
}

TEST_F(CliTableTest, ABadRangeIsAUsageError) {
    struct Case {
        std::vector<std::string> args;
        std::string message;  // the start of standard error
    };
    const std::string option = "tallyfern-cli: option '--table': ";
    const Case cases[] = {
        {{"--table", "x=0:1:0", "x"}, option + "the step of 'x=0:1:0' is 0"},
        {{"--table", "x=0:1:-1", "x"}, option + "the step of 'x=0:1:-1' leads away from its end"},
        {{"--table", "x=0:1:1e-7", "x"}, option + "'x=0:1:1e-7' has more than 10000000 values"},
        {{"--table", "x=0:1e308:1e-308", "x"}, option + "'x=0:1e308:1e-308' has more than"},
        {{"--table", "x=0:1", "x"}, option + "expected NAME=FROM:TO:STEP, not 'x=0:1'"},
        {{"--table", "x=0:1:1:1", "x"}, option + "expected NAME=FROM:TO:STEP"},
        {{"--table", "=0:1:1", "x"}, option + "expected NAME=FROM:TO:STEP"},
        {{"--table", "x=0:one:1", "x"}, option + "'one' in 'x=0:one:1' is not a number"},
        {{"--table", "x=0:1:1"}, "tallyfern-cli: option '--table' needs an EXPRESSION"},
        {{"-n", "--table", "x=0:1:1", "x"}, "tallyfern-cli: option '--table' does not go with"},
        // The name passes the variable grid's checks, against -v names too.
        {{"--table", "1x=0:1:1", "x"},
         "tallyfern-cli: --table 1x: 变量名应该以英文字母或下划线开头。"},
        {{"-v", "X=1", "--table", "x=0:1:1", "x"}, "tallyfern-cli: --table x: 该变量名已存在。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.substr(0, c.message.size()), c.message);
        EXPECT_EQ(run.status, 2);
    }
}

}  // namespace
