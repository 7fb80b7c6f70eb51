// Variables given with -v NAME=VALUE: checked in order as the variable grid
// checks them, and used by the expression.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliTestSupport.h"

namespace {

using CliProcess::CliRun;
using CliProcess::RunCli;

class CliVariablesTest : public CliProcess::CliFixture {};

struct Case {
    std::vector<std::string> args;
    std::string expected;  // standard output, or the rejection on standard error
};

TEST_F(CliVariablesTest, AcceptedDefinitionsAreUsed) {
    const Case cases[] = {
        {{"-v", "x=2.5", "x*2"}, "5\n"},
        {{"--var", "x=1e3", "x+1"}, "1001\n"},
        {{"--var=x=3", "x"}, "3\n"},
        {{"-vx=3", "x"}, "3\n"},
        {{"-v", "a_1=-1.5", "a_1"}, "-1.5\n"},
        {{"-v", "a=1", "-v", "b=2", "a+b*10"}, "21\n"},
        // Leading white space before the number is allowed.
        {{"-v", "x= 7", "x"}, "7\n"},
        {{"-v", "x=\t+7", "x"}, "7\n"},
        {{"-v", "x=.5", "x"}, "0.5\n"},
        // Names are kept as given; only the duplicate check ignores case.
        {{"-v", "Rate=2", "Rate*3"}, "6\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.out, c.expected);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.status, 0);
    }
}

TEST_F(CliVariablesTest, RejectedDefinitionStopsBeforeComputing) {
    const std::string exists = "该变量名已存在。\n";
    const std::string firstByte = "变量名应该以英文字母或下划线开头。\n";
    const std::string otherBytes = "变量名中应该只含英文字母、数字或下划线。\n";
    const std::string notNumeric = "请输入数值型的数据。\n";
    struct Rejection {
        std::vector<std::string> args;
        std::string refused;  // the definition the message names
        std::string message;
    };
    const Rejection cases[] = {
        {{"-v", "x=1", "-v", "X=2", "1+1"}, "X=2", exists},
        {{"-v", "ab=1", "-v", "c=2", "-v", "aB=3", "1+1"}, "aB=3", exists},
        {{"-v", "1a=2", "1+1"}, "1a=2", firstByte},
        {{"-v", "=2", "1+1"}, "=2", firstByte},
        {{"-v", "变=2", "1+1"}, "变=2", firstByte},
        {{"-v", "a-b=1", "1+1"}, "a-b=1", otherBytes},
        {{"-v", "a变=1", "1+1"}, "a变=1", otherBytes},
        {{"--var=x=1,5", "1+1"}, "x=1,5", notNumeric},
        {{"-v", "x=inf", "1+1"}, "x=inf", notNumeric},
        {{"-v", "x=nan", "1+1"}, "x=nan", notNumeric},
        {{"-v", "x=0x10", "1+1"}, "x=0x10", notNumeric},
        {{"-v", "x=7 ", "1+1"}, "x=7 ", notNumeric},
        {{"-vx=", "1+1"}, "x=", notNumeric},
        {{"-v", "x==1", "1+1"}, "x==1", notNumeric},
        {{"-v", "x=１", "1+1"}, "x=１", notNumeric},
        // The first rejection is the one reported.
        {{"-v", "1a=1", "-v", "x=bad", "1+1"}, "1a=1", firstByte},
        // The name is checked before the value.
        {{"-v", "x=1", "-v", "x=bad", "1+1"}, "x=bad", exists},
    };
    for (const Rejection& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "tallyfern-cli: -v " + c.refused + ": " + c.message);
        EXPECT_EQ(run.status, 2);
    }
}

TEST_F(CliVariablesTest, RejectionAlsoStopsReadingStandardInput) {
    const CliRun run = RunCli({"-v", "x=1,5"}, "1+1\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.status, 2);
}

TEST_F(CliVariablesTest, UndefinedOrDifferentlyCasedNameFailsTheComputation) {
    const CliRun undefined = RunCli({"-v", "x=1", "x+y"});
    EXPECT_EQ(undefined.out, "");
    EXPECT_EQ(undefined.err, "在以下位置发生 \"变量 y 未定义\" 错误\n\n    x+y\n");
    EXPECT_EQ(undefined.status, 1);

    const CliRun cased = RunCli({"-v", "x=1", "X"});
    EXPECT_EQ(cased.err, "在以下位置发生 \"变量 X 未定义\" 错误\n\n    X\n");
    EXPECT_EQ(cased.status, 1);
}

TEST_F(CliVariablesTest, VariablesReachFunctionArguments) {
    const CliRun run = RunCli({"-v", "x=4", "abs(x-10)+x"});
    EXPECT_EQ(run.out, "10\n");
    EXPECT_EQ(run.status, 0);
}

}  // namespace
