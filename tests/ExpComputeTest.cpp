#include <gtest/gtest.h>

#include <atomic>
#include <clocale>
#include <functional>
#include <memory>
#include <string>

#include "DecimalText.h"
#include "ExpCancelled.h"
#include "ExpCompute.h"
#include "ExpEvaluator.h"
#include "ExpMessages.h"
#include "ExpParser.h"
#include "ExpressionWorkspace.h"

namespace {

TEST(ExpCompute, ResultsShowFifteenDigitsAndThreeExponentDigits) {
    const std::pair<double, const char*> kCases[] = {
        {1.0 / 3, "0.333333333333333"},
        {0.1 + 0.2, "0.3"},
        {0, "0"},
        {-0.0, "-0"},
        {0.0001, "0.0001"},
        {123456789012345, "123456789012345"},
        {1e15, "1e+015"},
        {1e20, "1e+020"},
        {-1.5e-20, "-1.5e-020"},
        {2.5e-7, "2.5e-007"},
        {1e100, "1e+100"},
        {1e300, "1e+300"},
        {5e-324, "4.94065645841247e-324"},
    };
    for (const auto& [value, shown] : kCases)
        EXPECT_EQ(FormatResult(value), shown) << shown;
}

TEST(ExpCompute, StrippingRemovesBlanksTabsAndLineBreaksOnly) {
    EXPECT_EQ(StripWhitespace(" 1 +\t2\r\n* 3 "), "1+2*3");
    EXPECT_EQ(StripWhitespace("\v1\f"), "\v1\f");
    EXPECT_EQ(StripWhitespace(std::string("1 \0 2", 5)), std::string("1\0"
                                                                     "2",
                                                                     3));
    EXPECT_EQ(StripWhitespace(" \t\r\n"), "");
}

std::string MessageFor(const std::string& stripped) {
    try {
        ComputeExpression(stripped, VarTable{});
    } catch (const ExpException& e) {
        return ComposeErrorMessage(e, stripped);
    }
    return "(no error)";
}

std::string Framed(const std::string& message, const std::string& excerpt) {
    return ExpMessages::kErrorPrefix + message + ExpMessages::kErrorSuffix + excerpt;
}

TEST(ExpCompute, ErrorMessageShowsUpToTenBytesFromThePosition) {
    EXPECT_EQ(MessageFor("(1+2345678901"), Framed(ExpMessages::kBracket, "(1+2345678"));
    EXPECT_EQ(MessageFor("2*(1+(3"), Framed(ExpMessages::kBracket, "(3"));
    EXPECT_EQ(MessageFor("(1))+2"), Framed(ExpMessages::kExpression, "+2"));
    EXPECT_EQ(MessageFor("1+"), Framed(ExpMessages::kOperand, ""));  // position at the end
    EXPECT_EQ(MessageFor("2x"), Framed(ExpMessages::kExpression, ""));
    EXPECT_EQ(MessageFor("1/0"), Framed(ExpMessages::kDivZero, "1/0"));
    const std::string undefined =
        std::string(ExpMessages::kUndefinedBefore) + "rate" + ExpMessages::kUndefinedAfter;
    EXPECT_EQ(MessageFor("rate*12345678"), Framed(undefined, "rate*12345"));
}

TEST(ExpCompute, TheExcerptIsMeasuredInCodePageBytes) {
    const std::string cut = "\xEF\xBF\xBD";  // U+FFFD
    const std::string cases[][2] = {
        // Ends on the first of 变's two bytes.
        {"1+*23456789变", "*23456789" + cut},
        // Begins on the second byte of 中 (the error is one past it).
        {"x中中中中中中", cut + "中中中中" + cut},
        // 😀 has no double-byte form: it shows as typed and counts one byte,
        // also when the error lies one past it.
        {"1+😀23456789变", "😀23456789" + cut},
        {"x😀中中中中中", "中中中中中"},
        // A byte that begins no UTF-8 character.
        {"1+\xff"
         "2",
         "?2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        const std::string message = MessageFor(c[0]);
        EXPECT_EQ(message.substr(message.find("\n\n    ") + 6), c[1]);
    }
}

TEST(ExpCompute, AnUndefinedNameTooLongForTheMessageIsCut) {
    const auto textFor = [](std::size_t nameLength) {
        return ExpException(EXP_ERR_UNDEFINED, std::string(nameLength, 'a')).GetErrorText();
    };
    const std::string before = ExpMessages::kUndefinedBefore;
    const std::string after = ExpMessages::kUndefinedAfter;
    EXPECT_EQ(textFor(1011), before + std::string(1011, 'a') + after);
    EXPECT_EQ(textFor(1012), before + std::string(1008, 'a') + "..." + after);
    // 1023 bytes in code page 936, where the frame's five Chinese characters
    // take two bytes each rather than three.
    EXPECT_EQ(textFor(1'000'000).size(), 1023u + 5);
}

// Restores the "C" locale however the test ends.
struct LocaleScope {
    bool active = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    ~LocaleScope() { std::setlocale(LC_ALL, "C"); }
};

TEST(ExpCompute, ADecimalCommaLocaleChangesNothing) {
    const LocaleScope german;
    if (!german.active)
        GTEST_SKIP() << "the locale de_DE.UTF-8 is not installed";
    EXPECT_EQ(ComputeExpression("1.5*2", VarTable{}), 3);
    EXPECT_EQ(FormatResult(0.5), "0.5");
    EXPECT_EQ(FormatResult(2.5e-7), "2.5e-007");
    EXPECT_EQ(ReadVariableValue("2.5"), 2.5);
    EXPECT_EQ(ReadVariableValue("2,5"), std::nullopt);
    EXPECT_EQ(ReadVariableValue("2.5e-400"), 0.0);  // below the smallest double
}

// A set cancel flag gives a computation up with an outcome of its own,
// whichever way it is computed; cleared, the same workspace computes again.
TEST(ExpCompute, ASetCancelFlagGivesTheComputationUp) {
    std::string sum = "1";
    for (int i = 0; i < 100'000; ++i)
        sum += "+1";
    const VarTable vars;
    const std::unique_ptr<ExpressionTree> tree = ExpParser(sum).Parse();
    std::atomic<bool> cancel(true);
    ExpressionWorkspace workspace(vars);
    workspace.SetCancel(&cancel);
    ExpEvaluator evaluator;
    evaluator.m_cancel = &cancel;
    const std::function<double()> ways[] = {
        [&] { return ComputeExpressionTree(sum, vars, &cancel).value; },
        [&] { return workspace.Compute(sum); },
        [&] { return workspace.ComputeValue(sum); },
        [&] { return evaluator.Evaluate(*tree); },
    };
    for (const bool set : {true, false}) {
        cancel = set;
        for (const auto& way : ways) {
            if (set)
                EXPECT_THROW(way(), ExpCancelled);
            else
                EXPECT_EQ(way(), 100'001.0);
        }
    }
}

}  // namespace
