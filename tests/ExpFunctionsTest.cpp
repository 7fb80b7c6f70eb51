#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <string>

#include "ExpCompute.h"
#include "ExpEvaluator.h"
#include "ExpFuncTable.h"
#include "ExpParser.h"
#include "TestSupport.h"

namespace {

using TestSupport::ErrorCode;

const char* const kBuiltinNames[] = {"dtor",   "rtod", "dtodms", "dmstod", "log",  "sin",    "cos",
                                     "tan",    "tg",   "ctg",    "cot",    "asin", "arcsin", "acos",
                                     "arccos", "atan", "arctg",  "abs",    "ln",   "lg"};

struct ShownCase {
    const char* text;
    const char* shown;  // as the result is displayed
};

const ShownCase kShown[] = {
    {"dtor(180)", "3.14159265358979"},
    {"rtod(1)", "57.2957795130823"},
    {"sin(dtor(30))", "0.5"},
    {"cos(0)", "1"},
    {"atan(1)*4", "3.14159265358979"},
    {"asin(1)*2", "3.14159265358979"},
    {"acos(-1)", "3.14159265358979"},
    {"tan(dtor(45))", "1"},
    {"cot(dtor(45))", "1"},
    {"abs(0-2.5)", "2.5"},
    {"log(2,8)", "3"},  // log(a,b) is the logarithm of b to the base a
    {"log(10,100)", "2"},
    {"log(10,0.001)", "-3"},
    {"ln(2)", "0.693147180559945"},  // the two the help window lists
    {"lg(100)", "2"},
    {"lg(0.001)", "-3"},
    // Degrees and d.mmss: minutes and seconds are base 60, and the whole
    // degree is the floor also below zero.
    {"dtodms(3.01)", "3.0036"},
    {"dmstod(3.0036)", "3.01"},
    {"dtodms(-1.5)", "-1.7"},
    {"dmstod(-1.7)", "-1.5"},
    {"dtodms(3.99999)", "3.6"},  // 3600 seconds show as 60 minutes
    {"dmstod(2.99996)", "2"},    // a fraction rounding to 1.0000 adds nothing
    {"dmstod(1.75)", "2.25"},    // 75 minutes are taken as they stand
};

TEST(ExpFunctions, ResultsAsDisplayed) {
    const VarTable none;
    for (const auto& c : kShown) {
        EXPECT_EQ(FormatResult(ComputeExpression(c.text, none)), c.shown) << "text: " << c.text;
    }
}

TEST(ExpFunctions, AliasesComputeLikeTheirOriginals) {
    const std::pair<const char*, const char*> kSame[] = {
        {"tg(0.7)", "tan(0.7)"},      {"ctg(0.7)", "1/tan(0.7)"},   {"cot(0.7)", "1/tan(0.7)"},
        {"arcsin(0.3)", "asin(0.3)"}, {"arccos(0.3)", "acos(0.3)"}, {"arctg(0.3)", "atan(0.3)"},
        {"sin(1,x)", "sin(1)"},  // extra arguments are never evaluated
    };
    for (const auto& [text, same] : kSame) {
        EXPECT_EQ(ComputeExpression(text, {}), ComputeExpression(same, {})) << text;
    }
}

struct FailureCase {
    const char* text;
    int code;
};

const FailureCase kFailures[] = {
    {"log(1,5)", EXP_ERR_INFINITE},
    {"log(2,-1)", EXP_ERR_NAN},
    {"asin(2)", EXP_ERR_NAN},
    {"arccos(-1.5)", EXP_ERR_NAN},
    {"cot(0)", EXP_ERR_INFINITE},
    {"sin(10^400)", EXP_ERR_INFINITE},    // each argument is checked
    {"log(10^400,x)", EXP_ERR_INFINITE},  // ... before the next is evaluated
    {"sin(1/0)", EXP_ERR_DIVZERO},
    {"log(x)", EXP_ERR_OPERAND},  // too few arguments: none is evaluated
    {"log(1/0)", EXP_ERR_OPERAND},
    {"foo(x)", EXP_ERR_OPERATOR},  // an unknown name: no argument evaluated
    {"foo(1/0)", EXP_ERR_OPERATOR},
    {"lg(0)", EXP_ERR_INFINITE},  // ln and lg fail where log does
    {"log(10,0)", EXP_ERR_INFINITE},
    {"ln(-1)", EXP_ERR_NAN},
    {"ln(x)", EXP_ERR_UNDEFINED},
    {"LN(2)", EXP_ERR_OPERATOR},
    {"int(2)", EXP_ERR_OPERATOR},
    {"SIN(1)", EXP_ERR_OPERATOR},  // names are case-sensitive
    {"Abs(1)", EXP_ERR_OPERATOR},
    {"sin(x)", EXP_ERR_UNDEFINED},
};

TEST(ExpFunctions, FailuresReportTheirCode) {
    for (const auto& c : kFailures) {
        const auto failure = TestSupport::ComputeFailure(c.text);
        EXPECT_EQ(failure.code, c.code) << "text: " << c.text;
        EXPECT_EQ(failure.position, 0) << "text: " << c.text;
    }
}

TEST(ExpFuncTable, HoldsTheTwentyBuiltinsAndAnEmptyTableNone) {
    const ExpFuncTable builtins;
    const ExpFuncTable empty{ExpFuncTable::Empty{}};
    EXPECT_EQ(builtins.Count(), 20);
    EXPECT_EQ(empty.Count(), 0);
    for (const char* name : kBuiltinNames) {
        EXPECT_EQ(builtins.Find(name).name, name);
        EXPECT_EQ(ErrorCode([&] { empty.Find(name); }), EXP_ERR_OPERATOR) << name;
    }
    EXPECT_EQ(builtins.Find("log").argCount, 2);
}

double Twice(std::span<const double> v) {
    return v[0] * 2;
}
double Thrice(std::span<const double> v) {
    return v[0] * 3;
}

TEST(ExpFuncTable, ANameRegisteredTwiceIsFoundAtItsFirstEntry) {
    ExpEvaluator evaluator;
    evaluator.m_funcs = ExpFuncTable{ExpFuncTable::Empty{}};
    evaluator.m_funcs.Register("f", 1, Twice);
    evaluator.m_funcs.Register("f", 1, Thrice);
    EXPECT_EQ(evaluator.m_funcs.Count(), 2);
    EXPECT_DOUBLE_EQ(evaluator.Evaluate(*ExpParser("f(5)").Parse()), 10);
    EXPECT_EQ(ErrorCode([&] { evaluator.Evaluate(*ExpParser("sin(1)").Parse()); }),
              EXP_ERR_OPERATOR);
}

}  // namespace
