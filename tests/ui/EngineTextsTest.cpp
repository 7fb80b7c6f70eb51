// The engine's errors and refusals as the window words them, in Chinese and
// in English.
#include <gtest/gtest.h>

#include <QLocale>
#include <optional>
#include <string>
#include <vector>

#include "EngineTexts.h"
#include "ExpCompute.h"
#include "ExpException.h"
#include "VarTable.h"
#include "VarValidation.h"
#include "WindowLanguage.h"

namespace {

// Back to Chinese, the language the other tests read, when done.
class EngineTextsTest : public testing::Test {
  protected:
    void TearDown() override { UseWindowLanguage(QLocale::c()); }
};

ExpException ErrorOf(const std::string& stripped) {
    try {
        ComputeExpression(stripped, VarTable{});
    } catch (const ExpException& error) {
        return error;
    }
    ADD_FAILURE() << stripped << " computed";
    return ExpException(-1, 0);
}

TEST_F(EngineTextsTest, EveryErrorReadsNaturallyInEitherLanguageAboveItsExcerpt) {
    const std::string longName(2000, 'v');
    const struct {
        std::string stripped;
        ExpException error;
        const char* chinese;
        std::string english;
    } rows[] = {
        // Ten bytes of the expression from the error's position.
        {"(1+2345678901", ErrorOf("(1+2345678901"), "括号不匹配",
         "Unmatched bracket:\n\n    (1+2345678"},
        {"(1))+2", ErrorOf("(1))+2"), "表达式", "Syntax error:\n\n    +2"},
        {"1/0", ErrorOf("1/0"), "除数为零", "Division by zero:\n\n    1/0"},
        {"nosuch(1)", ErrorOf("nosuch(1)"), "运算符", "Unknown function:\n\n    nosuch(1)"},
        {"asin(2)", ErrorOf("asin(2)"), "越界", "Not a real number:\n\n    asin(2)"},
        {"1e308*10", ErrorOf("1e308*10"), "越界", "Number out of range:\n\n    1e308*10"},
        {"1+", ErrorOf("1+"), "操作数", "Missing operand:\n\n    "},
        {"rate*2", ErrorOf("rate*2"), "变量 rate 未定义",
         "Variable \"rate\" is not defined:\n\n    rate*2"},
        // Neither the name nor the excerpt is read for place markers.
        {"%2+%1", ExpException(EXP_ERR_UNDEFINED, "%2"), "变量 %2 未定义",
         "Variable \"%2\" is not defined:\n\n    %2+%1"},
        // A name too long for a message is cut as the engine cuts it.
        {longName, ErrorOf(longName), nullptr,
         "Variable \"" + std::string(1008, 'v') + "...\" is not defined:\n\n    vvvvvvvvvv"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stripped.substr(0, 20));
        UseWindowLanguage(QLocale::c());
        const QString chinese = ComputeErrorText(row.error, row.stripped);
        // The engine's own wording, which the console prints.
        EXPECT_EQ(chinese.toStdString(), ComposeErrorMessage(row.error, row.stripped));
        if (row.chinese) {
            EXPECT_TRUE(chinese.contains(QString::fromUtf8(row.chinese)));
        }
        ASSERT_TRUE(UseWindowLanguage(QLocale(QLocale::English, QLocale::UnitedKingdom)));
        EXPECT_EQ(ComputeErrorText(row.error, row.stripped).toStdString(), row.english);
    }
}

TEST_F(EngineTextsTest, AVariablesRefusalIsWordedByWhatIsWrong) {
    const std::vector<std::string> taken = {"a"};
    const struct {
        std::optional<VarRejection> rejection;
        const char* chinese;
        const char* english;
        const char* englishTitle;
    } rows[] = {
        {CheckVariableName("A", taken), "该变量名已存在。",
         "A variable of this name exists already.", "Error"},
        {CheckVariableName("9x", taken), "变量名应该以英文字母或下划线开头。",
         "A variable name must begin with a letter or an underscore.", "Error"},
        {CheckVariableName("a-b", taken), "变量名中应该只含英文字母、数字或下划线。",
         "A variable name may hold only letters, digits and underscores.", "Error"},
        {CheckVariableValue("1,5"), "请输入数值型的数据。", "Please enter a number.",
         "Invalid number"},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(row.rejection.has_value()) << row.chinese;
        UseWindowLanguage(QLocale::c());
        EXPECT_EQ(VarRejectionText(*row.rejection), row.chinese);
        EXPECT_EQ(VarRejectionTitle(*row.rejection), row.rejection->title);
        UseWindowLanguage(QLocale(QLocale::English, QLocale::UnitedKingdom));
        EXPECT_EQ(VarRejectionText(*row.rejection), row.english);
        EXPECT_EQ(VarRejectionTitle(*row.rejection), row.englishTitle);
    }
}

}  // namespace
