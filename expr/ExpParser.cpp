#include "ExpParser.h"

#include <algorithm>
#include <new>

#include "AsciiChars.h"
#include "DecimalText.h"
#include "ExpCancelled.h"
#include "ExpException.h"
#include "ExpOnePassEvaluator.h"

namespace {

bool IsOperator(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}

}  // namespace

std::unique_ptr<ExpressionTree> ExpParser::Parse() {
    if (m_text.size() > kMaxLength)
        throw ExpException(EXP_ERR_EXPRESSION, static_cast<int>(kMaxLength));
    // The text has been read, and its tree handed over, by an earlier call.
    if (m_parsed)
        return nullptr;
    m_parsed = true;
    auto tree = std::make_unique<ExpressionTree>();
    Read(m_text, *tree, true);
    return tree;
}

void ExpParser::ParseInto(std::string_view text, ExpressionTree& tree) {
    if (text.size() > kMaxLength)
        throw ExpException(EXP_ERR_EXPRESSION, static_cast<int>(kMaxLength));
    Read(text, tree, false);
}

void ExpParser::ReserveLevels(std::size_t length) {
    // Room for the levels a text can open, at most one a character, so
    // that the stacks never move while a deep text is read (a move holds
    // the old and the new block at once); pages never reached take no
    // memory. Without that room they grow as they must.
    const std::size_t most = std::min<std::size_t>(length, kMaxNesting) + 1;
    if (m_levels.capacity() >= most)
        return;
    try {
        m_levels.reserve(most);
        m_commas.reserve(most);
    } catch (const std::bad_alloc&) {
    }
}

double ExpParser::Compute(std::string_view text, ExpOnePassEvaluator& evaluator) {
    if (text.size() > kMaxLength)
        throw ExpException(EXP_ERR_EXPRESSION, static_cast<int>(kMaxLength));
    evaluator.Begin(text);
    m_onePass = &evaluator;
    m_tree = nullptr;
    m_input = text;
    m_pos = 0;
    m_depth = 0;
    m_levels.clear();
    m_openCallCount = 0;
    m_commas.clear();
    ReserveLevels(text.size());
    struct Done {
        ExpParser& parser;
        ~Done() {
            parser.m_onePass->ReleaseLarge();
            parser.m_onePass = nullptr;
            parser.m_levels.clear();
            parser.m_commas.clear();
            if (parser.m_levels.capacity() > kKeptLevels)
                std::vector<Level>().swap(parser.m_levels);
            if (parser.m_commas.capacity() > kKeptLevels)
                std::vector<std::uint32_t>().swap(parser.m_commas);
        }
    } done{*this};
    Run();
    return evaluator.Result();
}

void ExpParser::Read(std::string_view text, ExpressionTree& tree, bool keepCopy) {
    tree.Begin(text, keepCopy);
    m_tree = &tree;
    m_onePass = nullptr;
    m_drawn = {};
    m_input = tree.Source();
    m_pos = 0;
    m_depth = 0;
    m_levels.clear();
    m_openCallCount = 0;
    m_commas.clear();
    try {
        Run();
        tree.SetDrawn(m_drawn);
    } catch (...) {
        tree.Clear();
        m_levels.clear();
        m_commas.clear();
        throw;
    }
    // The levels of a deeply nested text are not kept for the next one.
    if (m_levels.capacity() > kKeptLevels)
        std::vector<Level>().swap(m_levels);
    if (m_commas.capacity() > kKeptLevels)
        std::vector<std::uint32_t>().swap(m_commas);
}

void ExpParser::Run() {
    m_levels.push_back({0, Opened::Whole, 0, 0, 0, 0});
    ExpCancelPoll cancel(m_cancel);
    for (;;) {
        cancel.Step();
        if (!ParseFactor())
            continue;
        // The factor is finished, and with it perhaps the levels around it.
        Step step;
        while ((step = Finish()) == Step::ClosedLevel) {
        }
        if (step == Step::Done)
            return;
    }
}

void ExpParser::OpenLevel(int at) {
    if (++m_depth > kMaxNesting)
        throw ExpException(EXP_ERR_EXPRESSION, at);
}

[[gnu::always_inline]] inline bool ExpParser::ParseFactor() {
    const int start = m_pos;
    const char c = NextChar();
    if (c == '(') {
        OpenLevel(start);
        m_levels.push_back({start, Opened::Parenthesis, 0, 0, 0, 0});
        return false;
    }
    if (c == '+' || c == '-') {
        if (start > 0 && IsOperator(m_input[start - 1]))
            throw ExpException(EXP_ERR_EXPRESSION, start);
        OpenLevel(start);
        // A sign's operand is a whole power: -2^2 is -(2^2). Only the first
        // factor of a level can be a sign, so the level holds it.
        m_levels.back().sign = static_cast<std::uint8_t>(c);
        return false;
    }
    if (IsLetter(c)) {
        PutBack();
        return ParseName();
    }
    if (IsDigit(c) || c == '.') {
        PutBack();
        ParseLiteral();
        return true;
    }
    throw ExpException(EXP_ERR_OPERAND, start);
}

[[gnu::always_inline]] inline bool ExpParser::ParseName() {
    // The scans of names and literals run over the text itself: the first
    // character, a letter or a digit, is known to stand before its end.
    const int start = m_pos;
    const char* const text = m_input.data();
    const char* const end = text + m_input.size();
    const char* at = text + start + 1;
    while (at != end && IsNameChar(*at))
        ++at;
    m_pos = static_cast<int>(at - text);
    if (at == end || *at != '(') {
        AddVariable(static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(m_pos));
        return true;
    }
    OpenLevel(m_pos);
    ++m_pos;
    // An argument list's errors are reported where they occur: its level
    // keeps the name's start instead of the '('.
    m_levels.push_back({start, Opened::Arguments, 0, 0, 0, 0});
    ++m_openCallCount;
    return false;
}

namespace {

// Passes over the digits from `at` on, gathering them into `value`.
const char* SkipDigits(const char* at, const char* end, std::uint64_t& value) {
    while (at != end && IsDigit(*at)) {
        value = value * 10 + static_cast<std::uint64_t>(*at - '0');
        ++at;
    }
    return at;
}

}  // namespace

[[gnu::always_inline]] inline void ExpParser::ParseLiteral() {
    // The mantissa's text is the source's own bytes: only a leading '.'
    // gets its "0" written out.
    const int from = m_pos;
    const char* const text = m_input.data();
    const char* const end = text + m_input.size();
    const char* at = text + from;
    DigitRun digits;
    const bool hasIntPart = *at != '.';
    if (hasIntPart) {
        at = SkipDigits(at, end, digits.value);
        digits.count = static_cast<int>(at - (text + from));
    }
    if (!hasIntPart || (at != end && *at == '.')) {
        // A point needs a digit after it.
        const char* const fraction = ++at;
        at = SkipDigits(at, end, digits.value);
        if (at == fraction)
            throw ExpException(EXP_ERR_OPERAND, static_cast<int>(at - text) + 1);
        digits.fractionCount = static_cast<int>(at - fraction);
        digits.count += digits.fractionCount;
    }
    m_pos = static_cast<int>(at - text);
    const std::string_view mantissa = m_input.substr(from, m_pos - from);
    m_drawn.textCells += mantissa.size();
    if (hasIntPart) {
        AddNumber(ExpressionTree::Tag::Number, static_cast<std::uint32_t>(from),
                  digits.Value(mantissa));
    } else {
        const std::uint32_t composed = m_tree ? m_tree->Compose("0", mantissa) : 0;
        AddNumber(ExpressionTree::Tag::ComposedNumber, composed, digits.Value(mantissa));
    }
    const char e = NextChar();
    if (e != 'E' && e != 'e') {
        PutBack();
        return;
    }
    // The exponent makes mantissa * 10 ^ exponent, so that the drawing can
    // raise it.
    AddNumber(ExpressionTree::Tag::Ten, 0, 10.0);
    ParseExponentDigits();
    AddInfix('^');
    AddInfix('*');
}

double ExpParser::DigitRun::Value(std::string_view text) const {
    // Up to 15 digits make an integer that a double holds exactly, and so
    // is every power of ten up to 10^22: one division, which rounds
    // correctly, gives the nearest double. Longer numbers are read whole.
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    constexpr int kExactDigits = 15;
    if (count > kExactDigits)
        return DecimalToDouble(text);
    if (fractionCount == 0)
        return static_cast<double>(value);
    return static_cast<double>(value) / kPowersOfTen[fractionCount];
}

void ExpParser::SkipDigitRun(DigitRun& digits, bool fraction) {
    const char* const from = m_input.data() + m_pos;
    const char* const textEnd = m_input.data() + m_input.size();
    const char* end = from;
    std::uint64_t value = digits.value;
    while (end != textEnd && IsDigit(*end)) {
        value = value * 10 + static_cast<std::uint64_t>(*end - '0');
        ++end;
    }
    if (end == from)
        throw ExpException(EXP_ERR_OPERAND, m_pos + 1);
    const int count = static_cast<int>(end - from);
    digits.value = value;
    digits.count += count;
    if (fraction)
        digits.fractionCount += count;
    m_pos += count;
}

// An exponent's digits may follow any number of signs, each its own sign
// node (1e--3 is two).
void ExpParser::ParseExponentDigits() {
    const int signsFrom = m_pos;
    char c = NextChar();
    const int depth = m_depth;
    while (c == '+' || c == '-') {
        OpenLevel(m_pos - 1);
        c = NextChar();
    }
    m_depth = depth;
    PutBack();
    const int signsTo = m_pos;
    DigitRun digits;
    SkipDigitRun(digits, false);
    AddNumber(ExpressionTree::Tag::Number, static_cast<std::uint32_t>(signsTo),
              digits.Value(m_input.substr(signsTo, m_pos - signsTo)));
    m_drawn.textCells += static_cast<std::uint64_t>(m_pos - signsTo);
    // The sign nearest the digits is the innermost node.
    for (int i = signsTo - 1; i >= signsFrom; --i)
        AddSign(m_input[i]);
}

[[gnu::always_inline]] inline ExpParser::Step ExpParser::Finish() {
    Level& level = m_levels.back();
    // The operands of a product and of a sign are powers: a '^' after a
    // factor takes it as its base.
    if (level.powerPending) {
        AddInfix('^');
        level.powerPending = 0;
    }
    // The character after the factor decides all that follows; it is read
    // once.
    const char c = static_cast<std::size_t>(m_pos) < m_input.size() ? m_input[m_pos] : kEndMarker;
    ++m_pos;
    // A ')' with nothing waiting before it only closes the level.
    if (c == ')' && (level.sign | level.termOp | level.sumOp) == 0)
        return Close(level, c);
    if (c == '^') {
        level.powerPending = 1;
        return Step::WantsFactor;
    }
    if (level.sign) {
        // A plus sign leaves no node behind.
        if (level.sign == '-')
            AddSign('-');
        level.sign = 0;
        --m_depth;
    }
    if (level.termOp) {
        AddInfix(level.termOp);
        level.termOp = 0;
    }
    if (c == '*' || c == '/') {
        level.termOp = c;
        return Step::WantsFactor;
    }
    if (level.sumOp) {
        AddInfix(level.sumOp);
        level.sumOp = 0;
        m_drawn.baselineOperators += level.opened == Opened::Whole;
    }
    if (c == '+' || c == '-') {
        level.sumOp = c;
        return Step::WantsFactor;
    }
    return Close(level, c);
}

[[gnu::always_inline]] inline ExpParser::Step ExpParser::Close(Level& level, char c) {
    switch (level.opened) {
        case Opened::Parenthesis: {
            if (c != ')')
                throw ExpException(EXP_ERR_BRACKET, level.start);
            m_levels.pop_back();
            --m_depth;
            AddParenthesis();
            return Step::ClosedLevel;
        }
        case Opened::Arguments:
        case Opened::ArgumentsPastComma: {
            const bool pastComma = level.opened == Opened::ArgumentsPastComma;
            if (c == ',') {
                if (pastComma) {
                    ++m_commas.back();
                } else {
                    level.opened = Opened::ArgumentsPastComma;
                    m_commas.push_back(1);
                }
                return Step::WantsFactor;
            }
            if (c != ')')
                throw ExpException(EXP_ERR_BRACKET, m_pos);
            std::uint32_t argCount = 1;
            if (pastComma) {
                argCount += m_commas.back();
                m_commas.pop_back();
            }
            AddCall(static_cast<std::uint32_t>(level.start), argCount);
            m_levels.pop_back();
            --m_openCallCount;
            --m_depth;
            return Step::ClosedLevel;
        }
        case Opened::Whole:
            break;
    }
    if (c != kEndMarker)
        throw ExpException(EXP_ERR_EXPRESSION, m_pos);
    return Step::Done;
}

// Inlined where the parser adds its nodes: one test tells the two ways.
[[gnu::always_inline]] inline void ExpParser::AddNumber(ExpressionTree::Tag tag,
                                                        std::uint32_t start, double value) {
    if (m_onePass) {
        // Only a number written out whole keeps its place in the source.
        m_onePass->Number(
            value, tag == ExpressionTree::Tag::Number ? start : ExpOnePassEvaluator::kNoPlace);
        return;
    }
    m_tree->AddNumber(tag, start, value);
}

[[gnu::always_inline]] inline void ExpParser::AddVariable(std::uint32_t start, std::uint32_t end) {
    const bool inArgument = m_openCallCount != 0;
    if (m_onePass) {
        m_onePass->Variable(inArgument, start, m_input.substr(start, end - start));
        return;
    }
    m_tree->AddVariable(inArgument, start);
    m_drawn.textCells += end - start;
}

[[gnu::always_inline]] inline void ExpParser::AddSign(char sign) {
    if (m_onePass) {
        if (sign == '-')
            m_onePass->Negate();
        return;
    }
    m_tree->AddInner(ExpressionTree::SignTag(sign), 1 + LastSize());
    m_drawn.operatorCells += sign == '-';
}

[[gnu::always_inline]] inline void ExpParser::AddParenthesis() {
    if (!m_onePass)
        m_tree->AddInner(ExpressionTree::Tag::Parenthesis, 1 + LastSize());
}

[[gnu::always_inline]] inline void ExpParser::AddCall(std::uint32_t nameStart,
                                                      std::uint32_t argCount) {
    if (m_onePass) {
        m_onePass->Call(nameStart, argCount);
        return;
    }
    // The arguments' subtrees end the tree so far.
    std::uint32_t size = 1 + LastSize();
    std::uint32_t last = m_tree->Size() - size;
    for (std::uint32_t i = 1; i < argCount; ++i) {
        const std::uint32_t argSize = m_tree->SubtreeSize(last);
        size += argSize;
        last -= argSize;
    }
    m_tree->AddCall({size, nameStart, argCount});
    m_drawn.textCells += NameEnd(m_input, nameStart) - nameStart;
}

[[gnu::always_inline]] inline void ExpParser::AddInfix(char op) {
    if (m_onePass) {
        m_onePass->Infix(op);
        return;
    }
    const std::uint32_t right = LastSize();
    const std::uint32_t left = m_tree->SubtreeSize(m_tree->Size() - 1 - right);
    m_tree->AddInner(ExpressionTree::InfixTag(op), 1 + left + right);
    m_drawn.operatorCells += op == '+' || op == '-' || op == '*';
}

std::uint32_t ExpParser::LastSize() const {
    return m_tree->LastSubtreeSize();
}
