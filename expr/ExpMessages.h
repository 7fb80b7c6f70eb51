#pragma once

// The user-visible texts of the engine and of the compute command, as the
// code page 936 (GBK) bytes the engine works in. The decoded text stands in
// the comment; a test converts every constant back and compares.
namespace ExpMessages {

inline constexpr char kBracket[] = "\xc0\xa8\xba\xc5\xb2\xbb\xc6\xa5\xc5\xe4";  // 括号不匹配
inline constexpr char kExpression[] = "\xb1\xed\xb4\xef\xca\xbd";               // 表达式
inline constexpr char kDivZero[] = "\xb3\xfd\xca\xfd\xce\xaa\xc1\xe3";          // 除数为零
inline constexpr char kOperator[] = "\xd4\xcb\xcb\xe3\xb7\xfb";                 // 运算符
inline constexpr char kOutOfRange[] = "\xd4\xbd\xbd\xe7";                       // 越界
inline constexpr char kOperand[] = "\xb2\xd9\xd7\xf7\xca\xfd";                  // 操作数
// 变量 %s 未定义, split around the name.
inline constexpr char kUndefinedBefore[] = "\xb1\xe4\xc1\xbf\x20";         // "变量 "
inline constexpr char kUndefinedAfter[] = "\x20\xce\xb4\xb6\xa8\xd2\xe5";  // " 未定义"

// The compute command's error box: 在以下位置发生 "M" 错误, an empty line, four
// blanks and the excerpt.
inline constexpr char kErrorPrefix[] =
    "\xd4\xda\xd2\xd4\xcf\xc2\xce\xbb\xd6\xc3\xb7\xa2\xc9\xfa\x20\x22";  // 在以下位置发生 "
inline constexpr char kErrorSuffix[] =
    "\x22\x20\xb4\xed\xce\xf3\n\n    ";  // " 错误, LF LF, 4 blanks

// Checks of a user variable's name and value.
inline constexpr char kNameExists[] =
    "\xb8\xc3\xb1\xe4\xc1\xbf\xc3\xfb\xd2\xd1\xb4\xe6\xd4\xda\xa1\xa3";  // 该变量名已存在。
inline constexpr char kNameFirstByte[] =
    "\xb1\xe4\xc1\xbf\xc3\xfb\xd3\xa6\xb8\xc3\xd2\xd4\xd3\xa2\xce\xc4\xd7\xd6\xc4\xb8\xbb\xf2"
    "\xcf\xc2\xbb\xae\xcf\xdf\xbf\xaa\xcd\xb7\xa1\xa3";  // 变量名应该以英文字母或下划线开头。
inline constexpr char kNameOtherBytes[] =
    "\xb1\xe4\xc1\xbf\xc3\xfb\xd6\xd0\xd3\xa6\xb8\xc3\xd6\xbb\xba\xac\xd3\xa2\xce\xc4\xd7\xd6"
    "\xc4\xb8\xa1\xa2\xca\xfd\xd7\xd6\xbb\xf2\xcf\xc2\xbb\xae\xcf\xdf\xa1\xa3";  // 变量名中应该只含英文字母、数字或下划线。
inline constexpr char kValueNotNumeric[] =
    "\xc7\xeb\xca\xe4\xc8\xeb\xca\xfd\xd6\xb5\xd0\xcd\xb5\xc4\xca\xfd\xbe\xdd\xa1\xa3";  // 请输入数值型的数据。
inline constexpr char kNameErrorTitle[] = "\xb4\xed\xce\xf3";                            // 错误
inline constexpr char kValueErrorTitle[] =
    "\xca\xfd\xbe\xdd\xb8\xf1\xca\xbd\xb4\xed\xce\xf3";  // 数据格式错误

}  // namespace ExpMessages
