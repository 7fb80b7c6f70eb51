#pragma once

#include <string>
#include <string_view>

enum ExpErrorCode : int {
    EXP_ERR_BRACKET = 0,     // 括号不匹配
    EXP_ERR_EXPRESSION = 1,  // 表达式
    EXP_ERR_DIVZERO = 2,     // 除数为零
    EXP_ERR_OPERATOR = 3,    // 运算符
    EXP_ERR_NAN = 4,         // 越界
    EXP_ERR_INFINITE = 5,    // 越界
    EXP_ERR_OPERAND = 6,     // 操作数
    EXP_ERR_UNDEFINED = 7,   // 变量 %s 未定义
};

// The one error of the expression engine: a code and the byte offset in the
// stripped expression where the excerpt shown to the user begins. Thrown by
// value; evaluation errors carry position 0.
//
// Beside it, the place where the error arose, as a byte offset in the same
// text: for a reading error its position, for an evaluation error the
// start of the node that failed (the divisor that is zero, the undefined
// name, the call), so that the error can be shown where it stands while
// its message keeps quoting from the position.
//
// Each program words the error itself from these; GetErrorText is the
// engine's own Chinese wording.
class ExpException {
  public:
    ExpException(int code, int position) : m_code(code), m_pos(position), m_place(position) {}
    // An undefined variable, named by `name`.
    ExpException(int code, std::string_view name);
    virtual ~ExpException() = default;

    // The message text in UTF-8; empty for an unknown code.
    std::string GetErrorText() const;
    int GetPosition() const { return m_pos; }
    int GetPlace() const { return m_place; }
    void SetPlace(int place) { m_place = place; }
    int GetCode() const { return m_code; }
    // The undefined variable's name as a message quotes it (empty for any
    // other error): whole, or where it would make the message longer than
    // 1023 code page 936 bytes, its beginning followed by "...", so that
    // the message stays readable and still says what is wrong.
    const std::string& GetName() const { return m_name; }

  private:
    std::string m_name;
    int m_code;
    int m_pos;
    int m_place;
};
