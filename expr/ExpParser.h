#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ExpException.h"
#include "ExpNode.h"

// Reads an expression text (white space already removed) into a tree.
//
//   whole   := sum '`'
//   sum     := term { ('+' | '-') term }
//   term    := power { ('*' | '/') power }
//   power   := factor { '^' factor }
//   factor  := '(' sum ')' | sign power | name | literal
//   name    := letter { letter | digit | '_' } [ '(' sum { ',' sum } ')' ]
//   literal := digits [ '.' digits ] [ ('E'|'e') signed-digits ]
//            | '.' digits [ ('E'|'e') signed-digits ]
//
// The text may be any bytes, NUL included; the backtick end marker that the
// parser appends ends it, so a typed backtick ends the expression early.
//
// Nested rules wait on an explicit stack rather than the call stack, so
// nesting is bounded by kMaxNesting, never by the thread's stack. Each
// parenthesis, argument list and sign opens one level; the character that
// would open level kMaxNesting + 1 is reported as EXP_ERR_EXPRESSION.
class CExpParser {
  public:
    static constexpr int kMaxNesting = 1'000'000;
    // Texts longer than this are refused with EXP_ERR_EXPRESSION at this
    // offset: positions must fit the error's 32-bit field.
    static constexpr std::size_t kMaxLength = std::size_t{1} << 30;

    explicit CExpParser(std::string_view text);
    virtual ~CExpParser() = default;

    // The root of a new tree, or throws CExpException. Call it once: the
    // tree takes over the parser's node store.
    std::unique_ptr<CExpNode> Parse();

  private:
    using Ptr = CExpNode::Ptr;

    // A rule that has started and waits for the operand being parsed.
    enum class Rule : unsigned char { Whole, Sum, Term, Power, Paren, Sign, Args };
    struct Frame {
        Rule rule;
        char op;    // Sum/Term: the pending operator; Sign: the sign
        int start;  // Paren: index of its '('
        Ptr result;
    };
    struct Call {
        std::string_view name;
        CExpNode::ArgList args;
    };

    char NextChar();
    void PutBack() { --m_nPos; }

    void BeginSum();
    void BeginTerm();
    void OpenLevel(int at);
    Ptr ParseFactor();
    Ptr ParseName();
    Ptr ParseLiteral();
    Ptr ParseDigits(bool signsAllowed);
    // Passes over a run of at least one digit; EXP_ERR_OPERAND without one.
    void SkipDigitRun();
    // Hands a finished operand to the innermost waiting rule; returns the
    // operand that rule completes in turn, or null when it wants another
    // factor. Sets m_bDone when the whole text is read.
    Ptr Reduce(Ptr operand);

    // Declared first, so that it outlives every node the members below hold
    // when a parse fails.
    std::unique_ptr<CExpNodeStore> m_pStore;
    int m_nPos = 0;
    std::string_view m_strInput;  // the text and the end marker, in m_pStore
    std::vector<Frame> m_stack;
    std::vector<Call> m_calls;
    int m_nDepth = 0;
    std::size_t m_nTextLength = 0;
    bool m_bDone = false;
};
