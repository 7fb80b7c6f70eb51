#include "NaturalLayout.h"

#include <algorithm>

#include "ExpNode.h"

namespace {
const NodeMeasure kNothing{};
}  // namespace

// The smaller subtrees are drawn first: the parts left waiting then at least
// halve in size each time the list grows, which keeps the list short however
// deep the tree is. Where each part goes is settled before it waits, so the
// order changes nothing in the drawing.
void CNaturalLayout::Draw(const CExpNode& root, int column, int level) {
    m_waiting.assign(1, Placed{{&root, 0}, column, level});
    while (!m_waiting.empty() && !m_canvas.Overflowed()) {
        const Placed at = m_waiting.back();
        m_waiting.pop_back();
        const CExpNode& node = *at.part.node;
        // The children's measurements follow the node's, in drawing order.
        const Part left{node.GetLeft(), at.part.index + 1};
        const Part right{node.GetRight(),
                         node.GetLeft() ? left.index + Measured(left).size : at.part.index + 1};
        m_canvas.MarkUsed(at.level);
        switch (node.GetOp()) {
            case ' ':
                m_canvas.Write(at.column, at.level, node.GetText());
                break;
            case '(':
                DrawBrackets(at, left);
                break;
            case '/':
                DrawFraction(at, left, right);
                break;
            case '^':
                DrawPower(at, left, right);
                break;
            default:
                // '+', '-', '*' and any other kind alike.
                DrawOperator(at, left, right);
                break;
        }
        std::sort(m_children.begin(), m_children.end(), [this](const Placed& a, const Placed& b) {
            return Measured(a.part).size > Measured(b.part).size;
        });
        m_waiting.insert(m_waiting.end(), m_children.begin(), m_children.end());
        m_children.clear();
    }
}

// A call's name, then its arguments separated by ", " between bars as high
// as the highest argument; plain parentheses are a call without a name and
// with one argument.
void CNaturalLayout::DrawBrackets(const Placed& at, Part content) {
    const CExpNode& node = *at.part.node;
    m_arguments.clear();
    if (node.IsCall()) {
        std::uint32_t index = at.part.index + 1;
        for (std::size_t i = 0; const CExpNode* argument = ChildAt(node, i); ++i) {
            m_arguments.push_back({argument, index});
            index += Measured(m_arguments.back()).size;
        }
    } else if (content.node) {
        m_arguments.push_back(content);
    }
    NodeMeasure span{0, 0, 0, 0};  // the levels the bars take
    if (!m_arguments.empty()) {
        span.top = INT32_MIN;
        span.bottom = INT32_MAX;
        for (const Part& argument : m_arguments) {
            span.top = std::max(span.top, Measured(argument).top);
            span.bottom = std::min(span.bottom, Measured(argument).bottom);
        }
    }

    m_canvas.Write(at.column, at.level, node.GetName());
    int column = at.column + static_cast<int>(node.GetName().size());
    DrawBars(column++, at.level, span);
    for (std::size_t i = 0; i < m_arguments.size(); ++i) {
        Place(m_arguments[i], column, at.level);
        column += Measured(m_arguments[i]).width;
        if (i + 1 < m_arguments.size()) {
            m_canvas.Write(column, at.level, ",");
            column += 2;
        }
    }
    DrawBars(column, at.level, span);
}

// The numerator sits just above the rule, the denominator just below it; the
// rule overhangs the wider part by a column on each side, and the narrower
// part is centred, the division truncating: a part one column narrower
// stays flush left.
void CNaturalLayout::DrawFraction(const Placed& at, Part left, Part right) {
    const Part numerator = Unwrap(left);
    const Part denominator = Unwrap(right);
    const int shift = (Measured(numerator).width - Measured(denominator).width) / 2;
    Place(numerator, at.column + 1 + std::max(-shift, 0), at.level + 1 - Measured(left).bottom);
    Place(denominator, at.column + 1 + std::max(shift, 0), at.level - Measured(right).top);
    m_canvas.WriteRun(at.column, at.level, Measured(at.part).width, '-');
}

// The exponent follows the base without a space, its lowest level just above
// the base's highest. A base that is a product or a power stands between
// bars, so that (2^3)^4 and 2e3^2 read as they are meant.
void CNaturalLayout::DrawPower(const Placed& at, Part left, Part right) {
    const NodeMeasure& base = Measured(left);
    int column = at.column;
    if (left.node && NeedsBarsAsBase(left.node)) {
        DrawBars(column++, at.level, base);
        Place(left, column, at.level);
        column += base.width;
        DrawBars(column++, at.level, base);
    } else {
        Place(left, column, at.level);
        column += base.width;
    }
    const Part exponent = Unwrap(right);
    Place(exponent, column, at.level + base.top - Measured(exponent).bottom);
}

// A space, the sign and a space between the operands; a sign without a left
// operand draws the same way.
void CNaturalLayout::DrawOperator(const Placed& at, Part left, Part right) {
    Place(left, at.column, at.level);
    const int column = at.column + Measured(left).width;
    m_canvas.WriteRun(column + 1, at.level, 1, at.part.node->GetOp());
    Place(right, column + 3, at.level);
}

void CNaturalLayout::DrawBars(int column, int level, const NodeMeasure& content) {
    m_canvas.WriteColumn(column, level + content.bottom, level + content.top - 1, '|');
}

CNaturalLayout::Part CNaturalLayout::Unwrap(Part part) {
    if (!IsPlainParenthesis(part.node))
        return part;
    return {part.node->GetLeft(), part.index + 1};
}

const NodeMeasure& CNaturalLayout::Measured(Part part) const {
    return part.node ? m_measure[part.index] : kNothing;
}

void CNaturalLayout::Place(Part part, int column, int level) {
    if (part.node)
        m_children.push_back({part, column, level});
}
