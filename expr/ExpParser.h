#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "ExpException.h"
#include "ExpressionTree.h"

class ExpOnePassEvaluator;

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
// The text may be any bytes, NUL included. The parser reads a backtick end
// marker past its last byte, and a typed backtick reads the same, so it ends
// the expression early.
//
// The parser is one loop over the characters. A sign can only open a
// parenthesis, an argument or the whole text (after an operator it is an
// error), so each of these keeps all it waits for in one Level: the pending
// operators of its sum and term, its sign, and a pending '^'. Finished
// operands go straight into the tree, which is in post-order, and each
// pending operator becomes a node as soon as its right operand is done. The
// levels wait on the heap, so nesting is bounded by kMaxNesting, never by
// the thread's stack. Each parenthesis, argument list and sign opens one
// nesting level; the character that would open level kMaxNesting + 1 is
// reported as EXP_ERR_EXPRESSION.
class ExpParser {
  public:
    static constexpr int kMaxNesting = 1'000'000;
    // Texts longer than this are refused with EXP_ERR_EXPRESSION at this
    // offset: positions must fit the error's 32-bit field.
    static constexpr std::size_t kMaxLength = std::size_t{1} << 30;

    // A parser for reading one text after another (ParseInto).
    ExpParser() = default;
    // A parser for one text, which must live until Parse has read it.
    explicit ExpParser(std::string_view text) : m_text(text) {}
    virtual ~ExpParser() = default;

    // A new tree, with a copy of the text, or throws ExpException. Call it
    // once; a second call finds the text read and returns null.
    std::unique_ptr<ExpressionTree> Parse();

    // Reads `text` into `tree`, reusing its storage, or throws
    // ExpException (the tree is then empty). The tree views `text` without
    // a copy: keep it alive and unchanged while the tree is used.
    void ParseInto(std::string_view text, ExpressionTree& tree);

    // From now on, every text is given up with ExpCancelled (see
    // ExpCancelled.h) once `flag` is set, which another thread may do; null
    // reads every text to its end.
    void SetCancel(const std::atomic<bool>* flag) { m_cancel = flag; }

    // Reads `text` and computes its value in the same pass, building no
    // tree: what parsing it, evaluating the tree and checking the result
    // gives (see ExpOnePassEvaluator), at the memory of the text alone.
    // Throws ExpException.
    double Compute(std::string_view text, ExpOnePassEvaluator& evaluator);

  private:
    // A call's argument list is first Arguments, and ArgumentsPastComma
    // once a ',' has started a second argument.
    enum class Opened : std::uint8_t { Whole, Parenthesis, Arguments, ArgumentsPastComma };
    // A parenthesis, an argument list or the whole text being read: eight
    // bytes, as a text may open a million of them.
    struct Level {
        std::int32_t start;  // the index of its '(', or of a call's name
        Opened opened;
        char sumOp;   // '+' or '-' waiting for its right operand, or 0
        char termOp;  // '*' or '/' likewise
        // A sign waiting for its power ('+', '-' or 0), and a '^' waiting
        // for its exponent.
        std::uint8_t sign : 7;
        std::uint8_t powerPending : 1;
    };
    static_assert(sizeof(Level) == 8);

    char NextChar() {
        // Every rule stops at the end marker; reading past it yields the
        // marker again rather than leaving the text.
        const char c =
            static_cast<std::size_t>(m_pos) < m_input.size() ? m_input[m_pos] : kEndMarker;
        ++m_pos;
        return c;
    }
    void PutBack() { --m_pos; }

    enum class Step { WantsFactor, ClosedLevel, Done };

    void ReserveLevels(std::size_t length);
    // Sets up the tree and reads the text into it.
    void Read(std::string_view text, ExpressionTree& tree, bool keepCopy);
    void Run();
    void OpenLevel(int at);
    // Reads a factor; true when it is finished (a name or a literal), false
    // when it opened a level or a sign that waits for its operand.
    bool ParseFactor();
    bool ParseName();
    void ParseLiteral();
    // The digits of a literal, gathered as they are passed over.
    struct DigitRun {
        std::uint64_t value = 0;  // exact while count stays small
        int count = 0;
        int fractionCount = 0;
        // The nearest double to the literal `text` these digits make.
        double Value(std::string_view text) const;
    };
    // Passes over a run of at least one digit; EXP_ERR_OPERAND without one.
    void SkipDigitRun(DigitRun& digits, bool fraction);
    // The signs and digits of an exponent; EXP_ERR_OPERAND without a digit.
    void ParseExponentDigits();
    // A factor is finished at the innermost level: makes the nodes of what
    // waited for it, and says what comes next.
    Step Finish();
    // Ends the level at `c` (past the factor and all that waited for it):
    // closes a parenthesis or a call, takes the next argument, or ends the
    // text.
    Step Close(Level& level, char c);

    // The nodes, each into the tree or to the one-pass evaluator.
    void AddNumber(ExpressionTree::Tag tag, std::uint32_t start, double value);
    void AddVariable(std::uint32_t start, std::uint32_t end);
    void AddSign(char sign);
    void AddParenthesis();
    void AddCall(std::uint32_t nameStart, std::uint32_t argCount);
    void AddInfix(char op);
    // The subtree size of the operand that ends the tree so far.
    std::uint32_t LastSize() const;

    static constexpr char kEndMarker = '`';
    // Levels kept for the next text; a deeply nested one's go back.
    static constexpr std::size_t kKeptLevels = 1024;

    std::string_view m_text;  // what the one-text constructor was given
    bool m_parsed = false;
    ExpressionTree* m_tree = nullptr;
    ExpOnePassEvaluator* m_onePass = nullptr;  // instead of the tree, when set
    ExpressionTree::DrawnAtLeast m_drawn;      // of the tree being built
    const std::atomic<bool>* m_cancel = nullptr;
    int m_pos = 0;
    std::string_view m_input;  // the text; the end marker follows it
    std::vector<Level> m_levels;
    // The argument lists being read. Most calls have one argument, so a
    // call's level alone stands for it (a deep nest of calls then takes no
    // more memory than one of parentheses); the commas of the lists that
    // are ArgumentsPastComma are counted here, innermost last.
    std::size_t m_openCallCount = 0;
    std::vector<std::uint32_t> m_commas;
    int m_depth = 0;
};
