#include "NaturalLayout.h"

#include <algorithm>
#include <climits>

#include "ExpNode.h"
#include "ExpressionTree.h"

void NaturalLayout::Draw(ExpNode root, int column, int level) {
    m_first = root.Tree()->SubtreeStart(root.Index());
    DrawNodes(root, column, level);
    std::vector<Placement>().swap(m_placements);
}

void NaturalLayout::DrawNodes(ExpNode root, int column, int level) {
    const ExpressionTree& tree = *root.Tree();
    m_placements.assign(root.Index() + 1 - m_first, Placement{});
    Place(root, column, level);
    for (std::uint32_t i = root.Index() + 1; i-- > m_first && !m_canvas.Overflowed();) {
        const Placement at = m_placements[i - m_first];
        if (at.column == kNotDrawn)
            continue;
        const ExpNode node = NodeAt(tree, i);
        m_canvas.MarkUsed(at.level);
        switch (node.Kind()) {
            case ExpNodeKind::Number:
            case ExpNodeKind::Variable:
                m_canvas.Write(at.column, at.level, node.GetText());
                break;
            case ExpNodeKind::Parenthesis:
            case ExpNodeKind::Call:
                DrawBrackets(node, at);
                break;
            case ExpNodeKind::Sign:
                DrawOperator(node, at);
                break;
            case ExpNodeKind::Infix:
                if (node.GetOp() == '/')
                    DrawFraction(node, at);
                else if (node.GetOp() == '^')
                    DrawPower(node, at);
                else
                    DrawOperator(node, at);
                break;
        }
    }
}

// A call's name, then its arguments separated by ", " between bars as high
// as the highest argument; plain parentheses are a call without a name and
// with one argument.
void NaturalLayout::DrawBrackets(ExpNode node, Placement at) {
    NodeMeasure span{0, 0, 0};  // the levels the bars take
    if (node.IsCall()) {
        if (node.ArgCount() > 0) {
            span.top = INT32_MIN;
            span.bottom = INT32_MAX;
        }
        for (ExpNode arg = node.LastArg(); arg; arg = arg.PreviousArg(node)) {
            span.top = std::max(span.top, m_measure.Of(arg).top);
            span.bottom = std::min(span.bottom, m_measure.Of(arg).bottom);
        }
    } else {
        span = m_measure.Of(node.GetLeft());
    }
    const std::string_view name = node.GetName();
    m_canvas.Write(at.column, at.level, name);
    DrawBars(at.column + static_cast<int>(name.size()), at.level, span);
    // The arguments are placed from the closing bar back.
    int column = at.column + m_measure.Of(node).width - 1;
    DrawBars(column, at.level, span);
    if (!node.IsCall()) {
        Place(node.GetLeft(), column - m_measure.Of(node.GetLeft()).width, at.level);
        return;
    }
    for (ExpNode arg = node.LastArg(); arg;) {
        column -= m_measure.Of(arg).width;
        Place(arg, column, at.level);
        arg = arg.PreviousArg(node);
        if (arg) {
            column -= 2;
            m_canvas.Write(column, at.level, ",");
        }
    }
}

// The numerator sits just above the rule, the denominator just below it; the
// rule overhangs the wider part by a column on each side, and the narrower
// part is centred, the division truncating: a part one column narrower
// stays flush left.
void NaturalLayout::DrawFraction(ExpNode node, Placement at) {
    const ExpNode left = node.GetLeft();
    const ExpNode right = node.GetRight();
    const ExpNode numerator = Unwrapped(left);
    const ExpNode denominator = Unwrapped(right);
    const int shift = (m_measure.Of(numerator).width - m_measure.Of(denominator).width) / 2;
    Place(numerator, at.column + 1 + std::max(-shift, 0), at.level + 1 - m_measure.Of(left).bottom);
    Place(denominator, at.column + 1 + std::max(shift, 0), at.level - m_measure.Of(right).top);
    m_canvas.WriteRun(at.column, at.level, m_measure.Of(node).width, '-');
}

// The exponent follows the base without a space, its lowest level just above
// the base's highest. A base that is a product or a power stands between
// bars, so that (2^3)^4 and 2e3^2 read as they are meant.
void NaturalLayout::DrawPower(ExpNode node, Placement at) {
    const ExpNode left = node.GetLeft();
    const NodeMeasure& base = m_measure.Of(left);
    int column = at.column;
    if (NeedsBarsAsBase(left)) {
        DrawBars(column++, at.level, base);
        Place(left, column, at.level);
        column += base.width;
        DrawBars(column++, at.level, base);
    } else {
        Place(left, column, at.level);
        column += base.width;
    }
    const ExpNode exponent = Unwrapped(node.GetRight());
    Place(exponent, column, at.level + base.top - m_measure.Of(exponent).bottom);
}

// A space, the sign and a space between the operands; a sign without a left
// operand draws the same way.
void NaturalLayout::DrawOperator(ExpNode node, Placement at) {
    const ExpNode left = node.GetLeft();
    int column = at.column;
    if (left) {
        Place(left, column, at.level);
        column += m_measure.Of(left).width;
    }
    m_canvas.WriteRun(column + 1, at.level, 1, node.GetOp());
    Place(node.GetRight(), column + 3, at.level);
}

void NaturalLayout::DrawBars(int column, int level, const NodeMeasure& content) {
    m_canvas.WriteColumn(column, level + content.bottom, level + content.top - 1, '|');
}

void NaturalLayout::Place(ExpNode node, int column, int level) {
    if (node)
        m_placements[node.Index() - m_first] = {column, level};
}
