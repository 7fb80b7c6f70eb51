#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <memory>
#include <string>
#include <vector>

#include "ExpEvaluator.h"
#include "ExpException.h"
#include "ExpNode.h"
#include "ExpParser.h"
#include "ExpressionTree.h"
#include "TestSupport.h"

namespace {

// A tree as a compact string: a leaf is its text, an infix operator
// "op(left,right)", a sign "op(operand)", a parenthesis "[inner]" and a call
// "name(arg,...)".
std::string Shape(ExpNode node) {
    if (!node)
        return "null";
    switch (node.Kind()) {
        case ExpNodeKind::Call: {
            std::string text = std::string(node.GetName()) + "(";
            const std::vector<ExpNode> args = node.GetArgs();
            for (std::size_t i = 0; i < args.size(); ++i)
                text += (i > 0 ? "," : "") + Shape(args[i]);
            return text + ")";
        }
        case ExpNodeKind::Number:
        case ExpNodeKind::Variable:
            return std::string(node.GetText());
        case ExpNodeKind::Parenthesis:
            return "[" + Shape(node.GetLeft()) + "]";
        case ExpNodeKind::Sign:
            return std::string(1, node.GetOp()) + "(" + Shape(node.GetRight()) + ")";
        case ExpNodeKind::Infix:
            break;
    }
    return std::string(1, node.GetOp()) + "(" + Shape(node.GetLeft()) + "," +
           Shape(node.GetRight()) + ")";
}

std::string ParsedShape(const std::string& text) {
    return Shape(RootNode(*ExpParser(text).Parse()));
}

struct ShapeCase {
    const char* text;
    const char* shape;
};

// How accepted texts read: precedence, associativity, signs, literals, calls.
const ShapeCase kShapes[] = {
    {"1+2*3", "+(1,*(2,3))"},
    {"7-2-1", "-(-(7,2),1)"},
    {"8/2/2", "/(/(8,2),2)"},
    {"2^3^2", "^(^(2,3),2)"},  // '^' groups to the left
    {"2*3^2", "*(2,^(3,2))"},
    {"-2^2", "-(^(2,2))"},  // a sign takes a whole power
    {"-2*3", "*(-(2),3)"},
    {"+5", "5"},  // a plus sign leaves no node
    {"-3", "-(3)"},
    {"(-3)", "[-(3)]"},
    {"2*(-3)", "*(2,[-(3)])"},
    {"-(-3)", "-([-(3)])"},
    {"((1))", "[[1]]"},
    {"42", "42"},
    {"007", "007"},  // digits are kept as written
    {"3.250", "3.250"},
    {".5", "0.5"},
    {"2e3", "*(2,^(10,3))"},
    {"1.5E-3", "*(1.5,^(10,-(3)))"},
    {".5e+2", "*(0.5,^(10,+(2)))"},  // an exponent keeps its plus sign
    {"1e--3", "*(1,^(10,-(-(3))))"},
    {"1e-2^2", "^(*(1,^(10,-(2))),2)"},  // a literal is one operand
    {"2^3e2", "^(2,*(3,^(10,2)))"},
    {"a_1*B2", "*(a_1,B2)"},
    {"sin(x)", "sin(x)"},
    {"f(1,-2)", "f(1,-(2))"},
    {"f((1),g(2,3)+x)", "f([1],+(g(2,3),x))"},
    {"1`+2", "1"},  // a backtick ends the text
    {"(1)`)", "[1]"},
};

TEST(ExpParser, AcceptedTextsHaveTheirTreeShapes) {
    for (const auto& c : kShapes) {
        EXPECT_EQ(ParsedShape(c.text), c.shape) << "text: " << c.text;
    }
}

struct ErrorCase {
    std::string text;
    int code;
    int position;
};

const ErrorCase kErrors[] = {
    // Leftover text: the position one past its first byte.
    {"1)", EXP_ERR_EXPRESSION, 2},
    {"(1))+2", EXP_ERR_EXPRESSION, 4},
    {"2x", EXP_ERR_EXPRESSION, 2},
    {"(int)x", EXP_ERR_EXPRESSION, 6},
    {"a\xd6\xd0", EXP_ERR_EXPRESSION, 2},  // bytes above 0x7F are not letters
    {std::string("1\0", 2), EXP_ERR_EXPRESSION, 2},
    // A sign right after an operator: the sign's own index.
    {"2*-3", EXP_ERR_EXPRESSION, 2},
    {"2--3", EXP_ERR_EXPRESSION, 2},
    {"1+-1", EXP_ERR_EXPRESSION, 2},
    {"2^-1", EXP_ERR_EXPRESSION, 2},
    {"2*+3", EXP_ERR_EXPRESSION, 2},
    {"--3", EXP_ERR_EXPRESSION, 1},
    // A parenthesis left open: the '(' itself, the innermost first.
    {"(1+2", EXP_ERR_BRACKET, 0},
    {"(1+(2)", EXP_ERR_BRACKET, 0},
    {"1+(2*(3", EXP_ERR_BRACKET, 5},
    {"(1`)", EXP_ERR_BRACKET, 0},
    // An argument list left open: one past the offending byte.
    {"sin(1", EXP_ERR_BRACKET, 6},
    {"sin(1;2)", EXP_ERR_BRACKET, 6},
    {"f(1,2", EXP_ERR_BRACKET, 6},
    // No operand where one must stand: the offending byte.
    {"", EXP_ERR_OPERAND, 0},
    {"1+", EXP_ERR_OPERAND, 2},
    {"1+*2", EXP_ERR_OPERAND, 2},
    {"()", EXP_ERR_OPERAND, 1},
    {"f()", EXP_ERR_OPERAND, 2},
    {"f(,1)", EXP_ERR_OPERAND, 2},
    {"_a+1", EXP_ERR_OPERAND, 0},
    {"\xd6\xd0", EXP_ERR_OPERAND, 0},
    {"`1", EXP_ERR_OPERAND, 0},
    {std::string("1+\0002", 4), EXP_ERR_OPERAND, 2},
    // A fraction or exponent without digits: one past the offending byte.
    {".x", EXP_ERR_OPERAND, 2},
    {"1..2", EXP_ERR_OPERAND, 3},
    {"5.", EXP_ERR_OPERAND, 3},
    {"1e", EXP_ERR_OPERAND, 3},
    {"1e+", EXP_ERR_OPERAND, 4},
    {"1e-x", EXP_ERR_OPERAND, 4},
    {"1.e5", EXP_ERR_OPERAND, 3},
    {"1.-5", EXP_ERR_OPERAND, 3},  // never silently 1
};

TEST(ExpParser, RejectedTextsReportCodeAndPosition) {
    for (const auto& c : kErrors) {
        const auto error = TestSupport::ErrorOf([&] { ExpParser(c.text).Parse(); });
        ASSERT_TRUE(error.has_value()) << "text: " << c.text;
        EXPECT_EQ(error->GetCode(), c.code) << "text: " << c.text;
        EXPECT_EQ(error->GetPosition(), c.position) << "text: " << c.text;
    }
}

TEST(ExpressionTree, NodesTellLeafKindsAndCallsFromParentheses) {
    const auto tree = ExpParser("x*(2)+f(3)-4").Parse();
    const ExpNode sum = RootNode(*tree).GetLeft();
    const ExpNode x = sum.GetLeft().GetLeft();
    const ExpNode paren = sum.GetLeft().GetRight();
    const ExpNode call = sum.GetRight();
    ASSERT_EQ(call.GetArgs().size(), 1u);
    const ExpNode three = call.GetArgs()[0];
    EXPECT_TRUE(x.IsVariable() && x.IsLeaf() && x.GetOp() == ' ');
    EXPECT_TRUE(three.IsNumber() && three.IsLeaf() && three.GetValue() == 3);
    EXPECT_TRUE(paren.IsParenthesis() && paren.GetOp() == '(' && paren.GetName().empty());
    EXPECT_TRUE(call.IsCall() && call.GetOp() == '(' && call.GetName() == "f");
    EXPECT_TRUE(RootNode(*ExpParser("-4").Parse()).IsSign());
    for (const ExpNode node : {sum, paren, call}) {
        EXPECT_FALSE(node.IsLeaf());
        EXPECT_TRUE(node.GetText().empty());
    }
}

// The array's invariants: every node follows its whole subtree, the
// children's subtrees fill the node's back to back in source order, and
// every number carries its value, read once.
struct ArrayCase {
    const char* text;
    const char* kinds;  // per node in array order: N number, V variable, I infix, S sign, P
                        // parenthesis, C call
    std::vector<std::uint32_t> sizes;
};

// The first is a left-deep chain: the operators follow their right operands.
const ArrayCase kArrays[] = {
    {"1+2+3", "NNINI", {1, 1, 3, 1, 5}},     {"1+2*3", "NNNII", {1, 1, 1, 3, 5}},
    {"-(x)^2", "VPNIS", {1, 2, 1, 4, 5}},    {"f(1,g(2),3)", "NNCNC", {1, 1, 2, 1, 5}},
    {".5e-3", "NNNSII", {1, 1, 1, 2, 4, 6}},
};

char KindLetter(ExpNode node) {
    return "NVISPC"[static_cast<int>(node.Kind())];
}

TEST(ExpressionTree, NodesFollowTheirSubtreesInSourceOrder) {
    for (const auto& c : kArrays) {
        const auto tree = ExpParser(c.text).Parse();
        std::string kinds;
        std::vector<std::uint32_t> sizes;
        for (std::uint32_t i = 0; i < tree->Size(); ++i) {
            kinds += KindLetter(NodeAt(*tree, i));
            sizes.push_back(NodeAt(*tree, i).SubtreeSize());
        }
        EXPECT_EQ(kinds, c.kinds) << c.text;
        EXPECT_EQ(sizes, c.sizes) << c.text;
        EXPECT_EQ(RootNode(*tree).SubtreeSize(), tree->Size()) << c.text;
    }
}

TEST(ExpressionTree, NumbersKeepTheirTextAndTheirValue) {
    const auto tree = ExpParser("007+.25e+2+3.250+123456789012345678901234567890").Parse();
    std::vector<std::pair<std::string, double>> numbers;
    for (std::uint32_t i = 0; i < tree->Size(); ++i) {
        if (NodeAt(*tree, i).IsNumber())
            numbers.emplace_back(NodeAt(*tree, i).GetText(), NodeAt(*tree, i).GetValue());
    }
    const std::vector<std::pair<std::string, double>> expected = {
        {"007", 7}, {"0.25", 0.25},  {"10", 10},
        {"2", 2},   {"3.250", 3.25}, {"123456789012345678901234567890", 1.2345678901234568e29}};
    EXPECT_EQ(numbers, expected);
}

// A number's value is found by counting the numbers before it: far into a
// long array, among variables and calls, and for a subtree evaluated alone.
TEST(ExpressionTree, NumbersFarIntoALongArrayKeepTheirValues) {
    std::string text = "0";
    for (int i = 1; i < 200; ++i)
        text += i % 2 ? "+x*" + std::to_string(i) : "-sin(" + std::to_string(i) + ")";
    text += "+(1.25*.5e1)";
    const auto tree = ExpParser(text).Parse();
    int numbers = 0;
    for (std::uint32_t i = 0; i < tree->Size(); ++i) {
        const ExpNode node = NodeAt(*tree, i);
        if (!node.IsNumber())
            continue;
        ++numbers;
        const std::string_view digits = node.GetText();
        double expected = -1;
        std::from_chars(digits.data(), digits.data() + digits.size(), expected);
        EXPECT_EQ(node.GetValue(), expected) << "node " << i;
    }
    EXPECT_EQ(numbers, 204);
    EXPECT_EQ(ExpEvaluator().Evaluate(RootNode(*tree).GetRight()), 6.25);
}

// A copy is the same array with a text of its own: it outlives the original
// and the text the original viewed.
TEST(ExpressionTree, ACopyIsTheSameTreeAndOutlivesItsOriginal) {
    std::string text = "-(a+f(1.5e-3,g(x),(2)))^2/b";
    ExpressionTree viewing;
    ExpParser().ParseInto(text, viewing);
    const std::string shape = Shape(RootNode(viewing));
    auto copy = std::make_unique<ExpressionTree>(viewing);
    ExpressionTree assigned;
    assigned = *copy;
    text.assign(text.size(), '#');
    viewing.Clear();
    EXPECT_EQ(Shape(RootNode(*copy)), shape);
    copy.reset();
    EXPECT_EQ(Shape(RootNode(assigned)), shape);
}

// A parsed tree keeps its text in memory of its own: neither the parser nor
// the text it read need outlive it.
TEST(ExpressionTree, AParsedTreeOutlivesItsTextAndParser) {
    std::unique_ptr<ExpressionTree> tree;
    {
        std::string text = "12.5+abc*.25e-3-f(x1,7)";
        tree = ExpParser(text).Parse();
        text.assign(text.size(), '#');
    }
    EXPECT_EQ(Shape(RootNode(*tree)), "-(+(12.5,*(abc,*(0.25,^(10,-(3))))),f(x1,7))");
}

// The tree belongs to the first call; a second finds the text read.
TEST(ExpressionTree, ASecondParseGivesNoTree) {
    ExpParser parser("1+2");
    const auto tree = parser.Parse();
    EXPECT_EQ(Shape(RootNode(*tree)), "+(1,2)");
    EXPECT_EQ(parser.Parse(), nullptr);
}

// One parser and one tree read text after text; a failed parse leaves the
// tree empty, and the next text reads as if it were the first.
TEST(ExpressionTree, AReusedTreeHoldsOnlyTheLastText) {
    ExpParser parser;
    ExpressionTree tree;
    parser.ParseInto("f(1,2)*3", tree);
    EXPECT_EQ(Shape(RootNode(tree)), "*(f(1,2),3)");
    EXPECT_NE(TestSupport::ErrorOf([&] { parser.ParseInto("(1+2", tree); }), std::nullopt);
    EXPECT_TRUE(tree.IsEmpty());
    parser.ParseInto(".5", tree);
    EXPECT_EQ(Shape(RootNode(tree)), "0.5");
}

}  // namespace
