#include <gtest/gtest.h>

#include <cfloat>
#include <optional>
#include <string>
#include <vector>

#include "DecimalText.h"
#include "ExpMessages.h"
#include "VarTable.h"
#include "VarValidation.h"

namespace {

TEST(ExpVarTable, InsertKeepsTheFirstValueAndFindIsExact) {
    VarTable vars;
    EXPECT_TRUE(vars.IsEmpty());
    EXPECT_TRUE(vars.Insert("a", 1));
    EXPECT_FALSE(vars.Insert("a", 2));  // the upper row wins
    EXPECT_TRUE(vars.Insert("A", 3));
    EXPECT_TRUE(vars.Insert("x1", 4));
    EXPECT_EQ(vars.Find("a"), 1.0);
    EXPECT_EQ(vars.Find("A"), 3.0);
    EXPECT_EQ(vars.Find("x1"), 4.0);
    EXPECT_EQ(vars.Find("x"), std::nullopt);  // a prefix is another name
    EXPECT_EQ(vars.Find("x12"), std::nullopt);
    EXPECT_EQ(vars.Size(), 3u);
    vars.Clear();
    EXPECT_TRUE(vars.IsEmpty());
    EXPECT_EQ(vars.Find("a"), std::nullopt);
}

TEST(ExpVarTable, AssignCopiesAndSelfAssignmentIsHarmless) {
    VarTable source;
    source.Insert("x", 1);
    VarTable copy;
    copy.Insert("stale", 9);
    copy.Assign(source);
    source.Clear();
    source.Insert("x", 2);
    EXPECT_EQ(copy.Find("x"), 1.0);  // later changes to the source stay there
    EXPECT_EQ(copy.Find("stale"), std::nullopt);
    copy.Assign(copy);
    EXPECT_EQ(copy.Size(), 1u);
    EXPECT_EQ(copy.Find("x"), 1.0);
}

struct NameCase {
    std::string name;
    const char* message;  // null: accepted
};

TEST(ExpVarValidation, NamesAreCheckedInOrder) {
    const std::vector<std::string> existing = {"Rate", "x1", "self", "9Lives"};
    const NameCase kCases[] = {
        {"rate", ExpMessages::kNameExists},  // letter case ignored
        {"X1", ExpMessages::kNameExists},
        {"SELF", ExpMessages::kNameExists},
        {"1x", ExpMessages::kNameFirstByte},
        {"", ExpMessages::kNameFirstByte},
        {"9lives", ExpMessages::kNameExists},  // before a malformed first byte
        {"9x", ExpMessages::kNameFirstByte},
        {"\xd6\xd0", ExpMessages::kNameFirstByte},  // a Chinese character
        {"a-b", ExpMessages::kNameOtherBytes},
        {"a b", ExpMessages::kNameOtherBytes},
        {"a\xd6\xd0", ExpMessages::kNameOtherBytes},
        {"x", nullptr},
        {"_", nullptr},
        {"_tmp2", nullptr},
        {"Rate2", nullptr},
        {"x1_", nullptr},
    };
    for (const auto& c : kCases) {
        const auto rejection = CheckVariableName(c.name, existing);
        if (c.message == nullptr) {
            EXPECT_FALSE(rejection.has_value()) << "name: " << c.name;
            continue;
        }
        ASSERT_TRUE(rejection.has_value()) << "name: " << c.name;
        EXPECT_STREQ(rejection->message, c.message) << "name: " << c.name;
        EXPECT_STREQ(rejection->title, ExpMessages::kNameErrorTitle) << "name: " << c.name;
    }
}

TEST(ExpVarValidation, ValuesMustReadWhollyAsOneDecimalNumber) {
    const std::pair<const char*, double> kAccepted[] = {
        {"3.5", 3.5},      {"-2", -2},
        {"1e3", 1000},     {" 7", 7},
        {"\t7", 7},        {"+4", 4},
        {"1.", 1},         {".5", 0.5},
        {"-.5e-1", -0.05}, {"1.7976931348623157e308", DBL_MAX},
        {"1e-400", 0},  // too small to tell from zero
    };
    for (const auto& [text, value] : kAccepted) {
        EXPECT_EQ(ReadVariableValue(text), value) << "text: " << text;
        EXPECT_FALSE(CheckVariableValue(text).has_value()) << "text: " << text;
    }
    const char* const kRejected[] = {"7 ", "1,5", "abc", "", "inf", "nan", "infinity", "0x10", "1e",
                                     ".", "1e+", "+-1", "--1", "1.5.2",
                                     // beyond the largest double
                                     "1e400", "-1e400", "1.8e308", " 1e999"};
    for (const char* text : kRejected) {
        EXPECT_EQ(ReadVariableValue(text), std::nullopt) << "text: " << text;
        const auto rejection = CheckVariableValue(text);
        ASSERT_TRUE(rejection.has_value()) << "text: " << text;
        EXPECT_STREQ(rejection->message, ExpMessages::kValueNotNumeric);
        EXPECT_STREQ(rejection->title, ExpMessages::kValueErrorTitle);
    }
}

}  // namespace
