#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ExpException.h"
#include "ExpNode.h"
#include "ExpParser.h"
#include "TestSupport.h"

namespace {

// A tree as a compact string: a leaf is its text, an infix operator
// "op(left,right)", a sign "op(operand)", a parenthesis "[inner]" and a call
// "name(arg,...)".
std::string Shape(const CExpNode* node) {
    if (node == nullptr)
        return "null";
    if (node->IsCall()) {
        std::string text = std::string(node->GetName()) + "(";
        for (std::size_t i = 0; i < node->GetArgs().size(); ++i) {
            if (i > 0)
                text += ",";
            text += Shape(node->GetArgs()[i].get());
        }
        return text + ")";
    }
    const char op = node->GetOp();
    if (op == ' ')
        return std::string(node->GetText());
    if (op == '(')
        return std::string("[") + Shape(node->GetLeft()) + "]";
    if (node->GetLeft() == nullptr)
        return std::string(1, op) + "(" + Shape(node->GetRight()) + ")";
    return std::string(1, op) + "(" + Shape(node->GetLeft()) + "," + Shape(node->GetRight()) + ")";
}

std::string ParsedShape(const std::string& text) {
    return Shape(CExpParser(text).Parse().get());
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
        const auto error = TestSupport::ErrorOf([&] { CExpParser(c.text).Parse(); });
        ASSERT_TRUE(error.has_value()) << "text: " << c.text;
        EXPECT_EQ(error->GetCode(), c.code) << "text: " << c.text;
        EXPECT_EQ(error->GetPosition(), c.position) << "text: " << c.text;
    }
}

TEST(ExpTree, NodesTellLeafKindsAndCallsFromParentheses) {
    const auto tree = CExpParser("x*(2)+f(3)").Parse();
    const CExpNode* x = tree->GetLeft()->GetLeft();
    const CExpNode* paren = tree->GetLeft()->GetRight();
    const CExpNode* call = tree->GetRight();
    ASSERT_EQ(call->GetArgs().size(), 1u);
    const CExpNode* three = call->GetArgs()[0].get();
    EXPECT_TRUE(x->IsVariable() && !x->IsNumber() && x->GetOp() == ' ');
    EXPECT_TRUE(three->IsNumber() && !three->IsVariable() && three->GetOp() == ' ');
    EXPECT_TRUE(paren->GetOp() == '(' && !paren->IsCall());
    EXPECT_TRUE(call->GetOp() == '(' && call->IsCall() && call->GetName() == "f");
    for (const CExpNode* node : {tree->GetLeft(), paren, call}) {
        EXPECT_FALSE(node->IsNumber() || node->IsVariable());
    }
}

void CollectNodes(const CExpNode* node, std::vector<const CExpNode*>& nodes) {
    if (node == nullptr)
        return;
    nodes.push_back(node);
    CollectNodes(node->GetLeft(), nodes);
    CollectNodes(node->GetRight(), nodes);
    for (const auto& arg : node->GetArgs())
        CollectNodes(arg.get(), nodes);
}

TEST(ExpTree, CopiesShareNoNodeAndOutliveNothing) {
    const char* text = "-(a+f(1.5e-3,g(x),(2)))^2/b";
    const auto source = CExpParser(text).Parse();
    const std::string shape = Shape(source.get());

    auto copy = CopyTree(source.get());
    auto constructed = std::make_unique<CExpNode>(*source);
    std::vector<const CExpNode*> original, copied;
    CollectNodes(source.get(), original);
    CollectNodes(copy.get(), copied);
    CollectNodes(constructed.get(), copied);
    for (const CExpNode* node : copied) {
        EXPECT_EQ(std::count(original.begin(), original.end(), node), 0);
    }
    EXPECT_EQ(copied.size(), 2 * original.size());
    EXPECT_EQ(Shape(copy.get()), shape);
    EXPECT_EQ(Shape(constructed.get()), shape);

    // Destroying the copies leaves the source whole (ASan would see a
    // shared node freed here).
    copy.reset();
    constructed.reset();
    EXPECT_EQ(Shape(source.get()), shape);
    EXPECT_EQ(CopyTree(nullptr), nullptr);
}

}  // namespace

namespace {

CExpNode::Ptr Parsed(const std::string& text) {
    return CExpParser(text).Parse();
}

}  // namespace

// A parsed tree keeps its texts in memory of its own: neither the parser nor
// the text it read need outlive it.
TEST(ExpTree, AParsedTreeOutlivesItsTextAndParser) {
    CExpNode::Ptr tree;
    {
        std::string text = "12.5+abc*.25e-3-f(x1,7)";
        tree = Parsed(text);
        text.assign(text.size(), '#');
    }
    EXPECT_EQ(Shape(tree.get()), "-(+(12.5,*(abc,*(0.25,^(10,-(3))))),f(x1,7))");
}

// The tree belongs to the first call; a second finds the text read.
TEST(ExpTree, ASecondParseGivesNoTree) {
    CExpParser parser("1+2");
    const CExpNode::Ptr tree = parser.Parse();
    EXPECT_EQ(Shape(tree.get()), "+(1,2)");
    EXPECT_EQ(parser.Parse(), nullptr);
}

// Trees put together by hand may hold parsed subtrees and the other way
// round; freeing either kind frees each node once (ASan's leak and
// double-free checks run on this in the sanitizer build).
TEST(ExpTree, HandBuiltAndParsedNodesMix) {
    CExpNode::ArgList args;
    args.push_back(Parsed("1+2"));
    args.push_back(
        std::make_unique<CExpNode>("a_long_variable_name_beyond_small_strings", EXP_VARIABLE));
    auto call = std::make_unique<CExpNode>("max", std::move(args));
    auto product = std::make_unique<CExpNode>(Parsed("(3)"), '*', std::move(call));
    auto root = std::make_unique<CExpNode>('-', std::move(product));
    const std::string shape = "-(*([3],max(+(1,2),a_long_variable_name_beyond_small_strings)))";
    EXPECT_EQ(Shape(root.get()), shape);

    auto copy = CopyTree(root.get());
    CExpNode constructed(*root);
    root.reset();
    EXPECT_EQ(Shape(copy.get()), shape);
    EXPECT_EQ(Shape(&constructed), shape);
}

// A chain built node by node is freed without a call per level.
TEST(ExpTree, ALongHandBuiltChainIsFreedOnASmallStack) {
    const int depth = TestSupport::kDeepNesting;
    auto chain = std::make_unique<CExpNode>("1", EXP_NUMBER);
    for (int i = 0; i < depth; ++i) {
        if (i % 3 == 0) {
            CExpNode::ArgList args;
            args.push_back(std::move(chain));
            chain = std::make_unique<CExpNode>("abs", std::move(args));
        } else {
            chain = std::make_unique<CExpNode>(i % 3 == 1 ? Parsed("2") : nullptr, '+',
                                               std::move(chain));
            if (!chain->GetLeft())
                chain = std::make_unique<CExpNode>('-', std::move(chain));
        }
    }
    EXPECT_TRUE(TestSupport::RunOnSmallStack([&] { chain.reset(); }));
    EXPECT_EQ(chain, nullptr);
}
