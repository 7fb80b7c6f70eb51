#include "ExpParser.h"

#include "ExpException.h"

namespace {

constexpr char kEndMarker = '`';

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsOperator(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}

CExpNode::Ptr Leaf(std::string_view text, int kind) {
    return std::make_unique<CExpNode>(text, kind);
}
CExpNode::Ptr Infix(CExpNode::Ptr left, char op, CExpNode::Ptr right) {
    return std::make_unique<CExpNode>(std::move(left), op, std::move(right));
}
CExpNode::Ptr Sign(char sign, CExpNode::Ptr operand) {
    return std::make_unique<CExpNode>(sign, std::move(operand));
}

}  // namespace

namespace {
// Bytes of tree per byte of text in a long sum of short numbers, which is
// the densest text there is: the first block of the store then takes most
// trees whole.
constexpr std::size_t kTreeBytesPerTextByte = 24;

// Appending rather than joining keeps GCC 12's -O3 overlap warning quiet.
std::string WithLeadingZero(std::string_view fraction) {
    std::string text;
    text.reserve(fraction.size() + 1);
    text += '0';
    text += fraction;
    return text;
}
}  // namespace

CExpParser::CExpParser(std::string_view text)
    : m_pStore(std::make_unique<CExpNodeStore>(
          text.size() > CExpParser::kMaxLength ? 0 : text.size() * kTreeBytesPerTextByte)) {
    // A text too long to parse is refused by Parse without being copied.
    m_strInput =
        m_pStore->KeepSource(text.size() > kMaxLength ? std::string_view() : text, kEndMarker);
    m_nTextLength = text.size();
}

char CExpParser::NextChar() {
    // Every rule stops at the end marker; reading past it yields the marker
    // again rather than leaving the text.
    const char c =
        static_cast<std::size_t>(m_nPos) < m_strInput.size() ? m_strInput[m_nPos] : kEndMarker;
    ++m_nPos;
    return c;
}

std::unique_ptr<CExpNode> CExpParser::Parse() {
    if (m_nTextLength > kMaxLength)
        throw CExpException(EXP_ERR_EXPRESSION, static_cast<int>(kMaxLength));
    // The text has been read, and its tree handed over, by an earlier call.
    if (m_bDone || !m_pStore)
        return nullptr;
    CExpNodeStore::Scope scope(*m_pStore);
    m_stack.reserve(16);
    m_stack.push_back({Rule::Whole, 0, 0, nullptr});
    BeginSum();
    Ptr operand;
    while (!m_bDone) {
        operand = operand ? Reduce(std::move(operand)) : ParseFactor();
    }
    CExpNode::AdoptStore(*operand, std::move(m_pStore));
    return operand;
}

void CExpParser::BeginSum() {
    m_stack.push_back({Rule::Sum, 0, 0, nullptr});
    BeginTerm();
}

void CExpParser::BeginTerm() {
    m_stack.push_back({Rule::Term, 0, 0, nullptr});
}

void CExpParser::OpenLevel(int at) {
    if (++m_nDepth > kMaxNesting)
        throw CExpException(EXP_ERR_EXPRESSION, at);
}

CExpParser::Ptr CExpParser::ParseFactor() {
    const int start = m_nPos;
    const char c = NextChar();
    if (c == '(') {
        OpenLevel(start);
        m_stack.push_back({Rule::Paren, '(', start, nullptr});
        BeginSum();
        return nullptr;
    }
    if (c == '+' || c == '-') {
        if (start > 0 && IsOperator(m_strInput[start - 1]))
            throw CExpException(EXP_ERR_EXPRESSION, start);
        OpenLevel(start);
        // A sign's operand is a whole power: -2^2 is -(2^2).
        m_stack.push_back({Rule::Sign, c, start, nullptr});
        return nullptr;
    }
    if (IsLetter(c)) {
        PutBack();
        return ParseName();
    }
    if (IsDigit(c) || c == '.') {
        PutBack();
        return ParseLiteral();
    }
    throw CExpException(EXP_ERR_OPERAND, start);
}

CExpParser::Ptr CExpParser::ParseName() {
    const int start = m_nPos;
    char c = NextChar();
    do {
        c = NextChar();
    } while (IsLetter(c) || IsDigit(c) || c == '_');
    const std::string_view name(m_strInput.data() + start, m_nPos - 1 - start);
    if (c != '(') {
        PutBack();
        return Leaf(name, EXP_VARIABLE);
    }
    OpenLevel(m_nPos - 1);
    m_calls.push_back({name, {}});
    m_stack.push_back({Rule::Args, '(', m_nPos - 1, nullptr});
    BeginSum();
    return nullptr;
}

CExpParser::Ptr CExpParser::ParseLiteral() {
    // The mantissa's text is the source's own bytes: only a leading '.'
    // gets its "0" written out.
    const int from = m_nPos;
    Ptr exponent;
    auto readExponent = [&] {
        const char e = NextChar();
        if (e == 'E' || e == 'e')
            exponent = ParseDigits(true);
        else
            PutBack();
    };
    const bool hasIntPart = NextChar() != '.';
    int mantissaEnd;
    if (!hasIntPart) {
        SkipDigitRun();
        mantissaEnd = m_nPos;
        readExponent();
    } else {
        PutBack();
        SkipDigitRun();
        mantissaEnd = m_nPos;
        const char c = NextChar();
        if (c == '.') {
            SkipDigitRun();
            mantissaEnd = m_nPos;
            readExponent();
        } else if (c == 'E' || c == 'e') {
            exponent = ParseDigits(true);
        } else {
            PutBack();
        }
    }
    const std::string_view mantissa = m_strInput.substr(from, mantissaEnd - from);
    Ptr number =
        hasIntPart ? Leaf(mantissa, EXP_NUMBER) : Leaf(WithLeadingZero(mantissa), EXP_NUMBER);
    if (!exponent)
        return number;
    return Infix(std::move(number), '*', Infix(Leaf("10", EXP_NUMBER), '^', std::move(exponent)));
}

void CExpParser::SkipDigitRun() {
    char c = NextChar();
    if (!IsDigit(c))
        throw CExpException(EXP_ERR_OPERAND, m_nPos);
    while (IsDigit(c))
        c = NextChar();
    PutBack();
}

// One run of digits. An exponent's digits may follow any number of signs,
// each its own sign node (1e--3 is two); a fraction's may not, so that 1.-5
// is reported instead of silently reading as 1.
CExpParser::Ptr CExpParser::ParseDigits(bool signsAllowed) {
    const int signsFrom = m_nPos;
    char c = NextChar();
    if (signsAllowed) {
        const int depth = m_nDepth;
        while (c == '+' || c == '-') {
            OpenLevel(m_nPos - 1);
            c = NextChar();
        }
        m_nDepth = depth;
    }
    const int signsTo = m_nPos - 1;
    if (!IsDigit(c))
        throw CExpException(EXP_ERR_OPERAND, m_nPos);
    const int digitsFrom = m_nPos - 1;
    while (IsDigit(c))
        c = NextChar();
    PutBack();
    Ptr node =
        Leaf(std::string_view(m_strInput.data() + digitsFrom, m_nPos - digitsFrom), EXP_NUMBER);
    for (int i = signsTo - 1; i >= signsFrom; --i)
        node = Sign(m_strInput[i], std::move(node));
    return node;
}

CExpParser::Ptr CExpParser::Reduce(Ptr operand) {
    Frame& top = m_stack.back();
    // The operands of a product and of a sign are powers. A power rule
    // waits only where a '^' follows its first factor: most factors have
    // none.
    if (top.rule == Rule::Term || top.rule == Rule::Sign) {
        if (NextChar() == '^') {
            m_stack.push_back({Rule::Power, '^', 0, std::move(operand)});
            return nullptr;
        }
        PutBack();
    }
    const auto combine = [&](Frame& f) {
        f.result =
            f.result ? Infix(std::move(f.result), f.op, std::move(operand)) : std::move(operand);
    };
    const auto finish = [&]() {
        Ptr done = std::move(m_stack.back().result);
        m_stack.pop_back();
        return done;
    };
    switch (top.rule) {
        case Rule::Power: {
            combine(top);
            if (NextChar() == '^')
                return nullptr;
            PutBack();
            return finish();
        }
        case Rule::Term:
        case Rule::Sum: {
            combine(top);
            const char c = NextChar();
            const bool isSum = top.rule == Rule::Sum;
            if (isSum ? (c == '+' || c == '-') : (c == '*' || c == '/')) {
                top.op = c;
                if (isSum)
                    BeginTerm();
                return nullptr;
            }
            PutBack();
            return finish();
        }
        case Rule::Paren: {
            if (NextChar() != ')')
                throw CExpException(EXP_ERR_BRACKET, top.start);
            m_stack.pop_back();
            --m_nDepth;
            return std::make_unique<CExpNode>(std::move(operand), '(');
        }
        case Rule::Sign: {
            const char sign = top.op;
            m_stack.pop_back();
            --m_nDepth;
            // A plus sign leaves no node behind.
            return sign == '-' ? Sign('-', std::move(operand)) : std::move(operand);
        }
        case Rule::Args: {
            Call& call = m_calls.back();
            call.args.push_back(std::move(operand));
            const char c = NextChar();
            if (c == ',') {
                BeginSum();
                return nullptr;
            }
            if (c != ')')
                throw CExpException(EXP_ERR_BRACKET, m_nPos);
            Ptr node = std::make_unique<CExpNode>(call.name, std::move(call.args));
            m_calls.pop_back();
            m_stack.pop_back();
            --m_nDepth;
            return node;
        }
        case Rule::Whole: {
            if (NextChar() != kEndMarker)
                throw CExpException(EXP_ERR_EXPRESSION, m_nPos);
            m_bDone = true;
            return operand;
        }
    }
    return operand;
}
