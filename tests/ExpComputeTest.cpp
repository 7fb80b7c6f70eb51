#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "DecimalText.h"
#include "ExpCompute.h"
#include "ExpMessages.h"
#include "ExpParser.h"

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

TEST(ExpCompute, AnUndefinedNameTooLongForTheMessageIsCut) {
    const auto textFor = [](std::size_t nameLength) {
        return ExpException(EXP_ERR_UNDEFINED, std::string(nameLength, 'a')).GetErrorText();
    };
    const std::string before = ExpMessages::kUndefinedBefore;
    const std::string after = ExpMessages::kUndefinedAfter;
    EXPECT_EQ(textFor(1011), before + std::string(1011, 'a') + after);
    EXPECT_EQ(textFor(1012), before + std::string(1008, 'a') + "..." + after);
    EXPECT_EQ(textFor(1'000'000).size(), 1023u);
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

}  // namespace
