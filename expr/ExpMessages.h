#pragma once

// The user-visible texts of the engine and of the compute command, in UTF-8.
// The console program translates them keyed by these very texts; the
// window words its messages itself, from an error's code and parts.
namespace ExpMessages {

inline constexpr char kBracket[] = "括号不匹配";
inline constexpr char kExpression[] = "表达式";
inline constexpr char kDivZero[] = "除数为零";
inline constexpr char kOperator[] = "运算符";
inline constexpr char kOutOfRange[] = "越界";
inline constexpr char kOperand[] = "操作数";
// 变量 %s 未定义, split around the name.
inline constexpr char kUndefinedBefore[] = "变量 ";
inline constexpr char kUndefinedAfter[] = " 未定义";

// The compute command's error box: the message in quotes, an empty line,
// four blanks and the excerpt.
inline constexpr char kErrorPrefix[] = "在以下位置发生 \"";
inline constexpr char kErrorSuffix[] = "\" 错误\n\n    ";

// Checks of a user variable's name and value.
inline constexpr char kNameExists[] = "该变量名已存在。";
inline constexpr char kNameFirstByte[] = "变量名应该以英文字母或下划线开头。";
inline constexpr char kNameOtherBytes[] = "变量名中应该只含英文字母、数字或下划线。";
inline constexpr char kValueNotNumeric[] = "请输入数值型的数据。";
inline constexpr char kNameErrorTitle[] = "错误";
inline constexpr char kValueErrorTitle[] = "数据格式错误";

}  // namespace ExpMessages
