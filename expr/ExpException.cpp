#include "ExpException.h"

#include "ExpMessages.h"

namespace {
// The message of an undefined variable is at most 1023 code page 936 bytes,
// as a message buffer of 1024 bytes held.
constexpr std::size_t kMaxMessageBytes = 1023;
constexpr std::string_view kCutMark = "...";

// The code page 936 length of a frame of the message: its characters are
// ASCII or Chinese, which takes three bytes in UTF-8 and two there.
constexpr std::size_t CodePageLength(std::string_view utf8) {
    std::size_t length = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            length += 1;
        else if (byte >= 0xc0)
            length += 2;
    }
    return length;
}
static_assert(CodePageLength(ExpMessages::kUndefinedBefore) == 5);
}  // namespace

ExpException::ExpException(int code, std::string_view name) : m_code(code), m_pos(0), m_place(0) {
    constexpr std::size_t frame = CodePageLength(ExpMessages::kUndefinedBefore) +
                                  CodePageLength(ExpMessages::kUndefinedAfter);
    constexpr std::size_t room = kMaxMessageBytes - frame;
    // Names are ASCII letters, digits and '_': any cut falls between characters.
    if (name.size() <= room)
        m_name = name;
    else
        m_name.append(name.substr(0, room - kCutMark.size())).append(kCutMark);
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
            return ExpMessages::kUndefinedBefore + m_name + ExpMessages::kUndefinedAfter;
        default:
            return {};
    }
}
