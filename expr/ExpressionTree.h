#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "AppendArray.h"
#include "ExpNodeKind.h"

// A parsed expression: all its nodes in one array, with the text they were
// read from beside it.
//
// The array is in post-order: every node follows its whole subtree, the
// children in source order, so the root is the last node, a node's last
// child stands right before it, and each earlier child right before the
// subtree of the next. This is the order in which the parser finishes the
// nodes, so it writes the array front to back with no tree to rearrange
// afterwards, and it is the order of evaluation: the evaluator, like the
// measuring of the natural form, is one forward loop over the array; the
// drawing, which places a parent before its children, one backward loop.
// Copying a tree copies the array; freeing it frees a few blocks.
//
// A node takes five bytes: a tag, which names its kind together with its
// operator, and a 32-bit word, which holds what that kind needs.
// What only some nodes need waits in arrays of their own: the numbers'
// values, in the order the numbers stand, and the calls' names, argument
// counts and sizes. A long sum thus costs 18 bytes a term, against 32 when
// every node had room for a value.
class ExpressionTree {
  public:
    enum class Tag : std::uint8_t {
        // The numbers come first, so that one comparison tells them.
        Number,            // word: where its text starts in the source
        ComposedNumber,    // word: where its text starts among the composed texts ("0.5" for .5)
        Ten,               // the base of a power of ten written with e or E, text "10"
        Variable,          // word: where its name starts in the source
        ArgumentVariable,  // the same inside the arguments of a call
        // Infix operators, signs and parentheses; word: the subtree's size.
        Add,
        Subtract,
        Multiply,
        Divide,
        Power,
        Plus,
        Minus,
        Parenthesis,
        Call,  // word: its place among the calls
    };
    // Packed: with the word aligned, a node would take eight bytes.
    struct [[gnu::packed]] Node {
        Tag tag;
        std::uint32_t word;
    };
    static_assert(sizeof(Node) == 5);
    struct CallData {
        std::uint32_t size;       // nodes in its subtree
        std::uint32_t nameStart;  // in the source (the name's end follows from the grammar)
        std::uint32_t argCount;
    };

    static constexpr bool IsNumber(Tag tag) { return tag <= Tag::Ten; }
    static constexpr ExpNodeKind KindOf(Tag tag);
    // ' ' for a leaf, + - * / ^ for an infix operator or a sign, '(' for
    // parentheses and calls.
    static constexpr char OpOf(Tag tag);
    static constexpr Tag InfixTag(char op);
    static constexpr Tag SignTag(char op) { return op == '-' ? Tag::Minus : Tag::Plus; }

    ExpressionTree() = default;
    // A copy owns its text, even when the original only views it.
    ExpressionTree(const ExpressionTree& other);
    ExpressionTree& operator=(const ExpressionTree& other);
    ExpressionTree(ExpressionTree&&) noexcept = default;
    ExpressionTree& operator=(ExpressionTree&&) noexcept = default;
    virtual ~ExpressionTree() = default;

    bool IsEmpty() const { return m_nodes.Size() == 0; }
    std::uint32_t Size() const { return static_cast<std::uint32_t>(m_nodes.Size()); }

    std::span<const Node> Nodes() const { return m_nodes.View(); }
    Tag TagAt(std::uint32_t index) const { return m_nodes[index].tag; }
    // The numbers' values, in the order of the numbers in the array.
    std::span<const double> Values() const { return m_values.View(); }
    // How many numbers stand before node `index`: the place of its value
    // when it is a number.
    std::uint32_t NumbersBefore(std::uint32_t index) const;
    double ValueOf(std::uint32_t index) const { return m_values[NumbersBefore(index)]; }
    const CallData& CallAt(std::uint32_t index) const { return m_calls[m_nodes[index].word]; }

    // The index of the first node of the subtree whose root is `index`.
    std::uint32_t SubtreeStart(std::uint32_t index) const { return index + 1 - SubtreeSize(index); }
    std::uint32_t SubtreeSize(std::uint32_t index) const {
        const Node& node = m_nodes[index];
        if (node.tag <= Tag::ArgumentVariable)
            return 1;
        return node.tag == Tag::Call ? m_calls[node.word].size : node.word;
    }
    // A leaf's text, a call's name; empty for other nodes.
    std::string_view TextOf(std::uint32_t index) const;
    std::string_view NameOf(const CallData& call) const;
    // The text the tree was read from.
    std::string_view Source() const { return m_source; }

    // What the natural form draws at the least, counted while the tree is
    // built: a caller can tell a drawing too large to make before the
    // drawing has measured the tree (see NaturalForm::IsSurelyTooLarge).
    struct DrawnAtLeast {
        // Cells of the characters of numbers and names as written.
        std::uint64_t textCells = 0;
        // Cells of the + - * between operands and of minus signs.
        std::uint64_t operatorCells = 0;
        // The + and - of the sum that makes up the whole text: they stand
        // on the drawing's baseline, four columns apart at the least.
        std::uint64_t baselineOperators = 0;
    };
    const DrawnAtLeast& Drawn() const { return m_drawn; }

    // The parser's side: starts a tree over `source`, which the tree either
    // copies or only views (then the caller keeps it alive and unchanged as
    // long as the tree is used). Keeps the storage of an earlier tree.
    void Begin(std::string_view source, bool keepCopy);
    void AddNumber(Tag tag, std::uint32_t textStart, double value) {
        m_values.Append(value);
        Append(tag, textStart, 1);
    }
    void AddVariable(bool inArgument, std::uint32_t textStart) {
        Append(inArgument ? Tag::ArgumentVariable : Tag::Variable, textStart, 1);
    }
    void AddInner(Tag tag, std::uint32_t size) { Append(tag, size, size); }
    void AddCall(const CallData& call) {
        Append(Tag::Call, static_cast<std::uint32_t>(m_calls.Size()), call.size);
        m_calls.Append(call);
    }
    // The size of the subtree that ends the array: the operand finished
    // last, which every operator the parser adds takes.
    std::uint32_t LastSubtreeSize() const { return m_lastSize; }
    // Keeps `a` and `b` one after the other among the composed texts;
    // returns where they start there.
    std::uint32_t Compose(std::string_view a, std::string_view b);
    void SetDrawn(const DrawnAtLeast& drawn) { m_drawn = drawn; }
    // Gives back storage far beyond what a short expression needs.
    void ReleaseLargeStorage();
    void Clear();

  private:
    // NumbersBefore counts the numbers from the last multiple of this.
    static constexpr std::uint32_t kCountStep = 64;

    void Append(Tag tag, std::uint32_t word, std::uint32_t subtreeSize) {
        if (m_nodes.IsFull()) [[unlikely]]
            m_nodes.Grow();
        m_nodes.AppendToRoom({tag, word});
        m_lastSize = subtreeSize;
        if (m_nodes.Size() % kCountStep == 0) [[unlikely]]
            m_numberCounts.Append(static_cast<std::uint32_t>(m_values.Size()));
    }
    void Reserve(std::size_t nodes, std::size_t numbers, std::size_t calls);
    void ReleaseLargeArrays();

    AppendArray<Node> m_nodes;
    AppendArray<double> m_values;
    AppendArray<CallData> m_calls;
    // The numbers among the first kCountStep nodes, the first 2 *
    // kCountStep, and so on.
    AppendArray<std::uint32_t> m_numberCounts;
    std::uint32_t m_lastSize = 0;
    DrawnAtLeast m_drawn;
    std::string m_ownSource;
    std::string_view m_source;
    std::string m_composed;
};

constexpr ExpNodeKind ExpressionTree::KindOf(Tag tag) {
    switch (tag) {
        case Tag::Number:
        case Tag::ComposedNumber:
        case Tag::Ten:
            return ExpNodeKind::Number;
        case Tag::Variable:
        case Tag::ArgumentVariable:
            return ExpNodeKind::Variable;
        case Tag::Add:
        case Tag::Subtract:
        case Tag::Multiply:
        case Tag::Divide:
        case Tag::Power:
            return ExpNodeKind::Infix;
        case Tag::Plus:
        case Tag::Minus:
            return ExpNodeKind::Sign;
        case Tag::Parenthesis:
            return ExpNodeKind::Parenthesis;
        case Tag::Call:
            break;
    }
    return ExpNodeKind::Call;
}

constexpr char ExpressionTree::OpOf(Tag tag) {
    switch (tag) {
        case Tag::Add:
        case Tag::Plus:
            return '+';
        case Tag::Subtract:
        case Tag::Minus:
            return '-';
        case Tag::Multiply:
            return '*';
        case Tag::Divide:
            return '/';
        case Tag::Power:
            return '^';
        case Tag::Parenthesis:
        case Tag::Call:
            return '(';
        default:
            return ' ';
    }
}

constexpr ExpressionTree::Tag ExpressionTree::InfixTag(char op) {
    switch (op) {
        case '+':
            return Tag::Add;
        case '-':
            return Tag::Subtract;
        case '*':
            return Tag::Multiply;
        case '/':
            return Tag::Divide;
        default:
            return Tag::Power;
    }
}
