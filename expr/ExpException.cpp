#include "ExpException.h"

#include "ExpMessages.h"

CExpException::CExpException(int code, std::string_view name) : m_nCode(code), m_nPos(0) {
    m_szText.append(ExpMessages::kUndefinedBefore).append(name).append(ExpMessages::kUndefinedAfter);
}

std::string CExpException::GetErrorText() const {
    switch (m_nCode) {
        case EXP_ERR_BRACKET: return ExpMessages::kBracket;
        case EXP_ERR_EXPRESSION: return ExpMessages::kExpression;
        case EXP_ERR_DIVZERO: return ExpMessages::kDivZero;
        case EXP_ERR_OPERATOR: return ExpMessages::kOperator;
        case EXP_ERR_NAN:
        case EXP_ERR_INFINITE: return ExpMessages::kOutOfRange;
        case EXP_ERR_OPERAND: return ExpMessages::kOperand;
        case EXP_ERR_UNDEFINED: return m_szText;
        default: return {};
    }
}
