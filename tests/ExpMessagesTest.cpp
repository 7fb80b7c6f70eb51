#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "ExpException.h"
#include "ExpMessages.h"

namespace {

std::string Gbk(const std::string& utf8) {
    iconv_t cd = iconv_open("CP936", "UTF-8");
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* o = out.data();
    size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

TEST(ExpMessages, EveryTextIsTheGbkFormOfItsChineseWording) {
    EXPECT_EQ(ExpMessages::kBracket, Gbk("括号不匹配"));
    EXPECT_EQ(ExpMessages::kExpression, Gbk("表达式"));
    EXPECT_EQ(ExpMessages::kDivZero, Gbk("除数为零"));
    EXPECT_EQ(ExpMessages::kOperator, Gbk("运算符"));
    EXPECT_EQ(ExpMessages::kOutOfRange, Gbk("越界"));
    EXPECT_EQ(ExpMessages::kOperand, Gbk("操作数"));
    EXPECT_EQ(std::string(ExpMessages::kErrorPrefix), Gbk("在以下位置发生 \""));
    EXPECT_EQ(std::string(ExpMessages::kErrorSuffix), Gbk("\" 错误\n\n    "));
    EXPECT_EQ(ExpMessages::kNameExists, Gbk("该变量名已存在。"));
    EXPECT_EQ(ExpMessages::kNameFirstByte, Gbk("变量名应该以英文字母或下划线开头。"));
    EXPECT_EQ(ExpMessages::kNameOtherBytes, Gbk("变量名中应该只含英文字母、数字或下划线。"));
    EXPECT_EQ(ExpMessages::kValueNotNumeric, Gbk("请输入数值型的数据。"));
    EXPECT_EQ(ExpMessages::kNameErrorTitle, Gbk("错误"));
    EXPECT_EQ(ExpMessages::kValueErrorTitle, Gbk("数据格式错误"));
    // The frame of the error box has fixed byte lengths.
    EXPECT_EQ(std::string(ExpMessages::kErrorPrefix).size(), 16u);
    EXPECT_EQ(std::string(ExpMessages::kErrorSuffix).size(), 12u);
}

TEST(ExpMessages, ErrorTextFollowsTheCode) {
    EXPECT_EQ(ExpException(EXP_ERR_NAN, 0).GetErrorText(), Gbk("越界"));
    EXPECT_EQ(ExpException(EXP_ERR_INFINITE, 0).GetErrorText(), Gbk("越界"));
    EXPECT_EQ(ExpException(8, 0).GetErrorText(), "");
    EXPECT_EQ(ExpException(-1, 0).GetErrorText(), "");
    const ExpException undefined(EXP_ERR_UNDEFINED, "abc");
    EXPECT_EQ(undefined.GetErrorText(), Gbk("变量 abc 未定义"));
    EXPECT_EQ(undefined.GetPosition(), 0);
}

}  // namespace
