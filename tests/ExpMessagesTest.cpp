#include <gtest/gtest.h>

#include <string>

#include "ExpException.h"
#include "ExpMessages.h"

namespace {

TEST(ExpMessages, ErrorTextFollowsTheCode) {
    EXPECT_EQ(ExpException(EXP_ERR_NAN, 0).GetErrorText(), "越界");
    EXPECT_EQ(ExpException(EXP_ERR_INFINITE, 0).GetErrorText(), "越界");
    EXPECT_EQ(ExpException(8, 0).GetErrorText(), "");
    EXPECT_EQ(ExpException(-1, 0).GetErrorText(), "");
    const ExpException undefined(EXP_ERR_UNDEFINED, "abc");
    EXPECT_EQ(undefined.GetErrorText(), "变量 abc 未定义");
    EXPECT_EQ(undefined.GetName(), "abc");
    EXPECT_EQ(undefined.GetPosition(), 0);
    EXPECT_EQ(ExpException(EXP_ERR_DIVZERO, 3).GetName(), "");
}

}  // namespace
