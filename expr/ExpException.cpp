#include "ExpException.h"

#include "ExpMessages.h"

namespace {
// The message of an undefined variable is at most 1023 bytes, as a message
// buffer of 1024 bytes holds. A longer name is cut and ends in "...": the
// message stays readable and still says what is wrong.
constexpr std::size_t kMaxMessageBytes = 1023;
constexpr std::string_view kCutMark = "...";
}  // namespace

ExpException::ExpException(int code, std::string_view name) : m_code(code), m_pos(0) {
    const std::size_t frame =
        sizeof ExpMessages::kUndefinedBefore - 1 + sizeof ExpMessages::kUndefinedAfter - 1;
    const std::size_t room = kMaxMessageBytes - frame;
    m_text.append(ExpMessages::kUndefinedBefore);
    // Names are ASCII letters, digits and '_': any cut falls between characters.
    if (name.size() <= room)
        m_text.append(name);
    else
        m_text.append(name.substr(0, room - kCutMark.size())).append(kCutMark);
    m_text.append(ExpMessages::kUndefinedAfter);
}

std::string ExpException::GetErrorText() const {
    switch (m_code) {
        case EXP_ERR_BRACKET:
            return ExpMessages::kBracket;
        case EXP_ERR_EXPRESSION:
            return ExpMessages::kExpression;
        case EXP_ERR_DIVZERO:
            return ExpMessages::kDivZero;
        case EXP_ERR_OPERATOR:
            return ExpMessages::kOperator;
        case EXP_ERR_NAN:
        case EXP_ERR_INFINITE:
            return ExpMessages::kOutOfRange;
        case EXP_ERR_OPERAND:
            return ExpMessages::kOperand;
        case EXP_ERR_UNDEFINED:
            return m_text;
        default:
            return {};
    }
}
