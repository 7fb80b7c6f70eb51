#include "NaturalMeasure.h"

#include <algorithm>
#include <climits>
#include <limits>

namespace {

// An empty argument list never comes from the parser; these are the
// extents it measures as all the same.
constexpr std::int64_t kEmptyCallTop = 0;
constexpr std::int64_t kEmptyCallBottom = 10000;
// Far beyond any drawing's limit, and far from overflowing when a node's
// cells are added.
constexpr std::int64_t kMostLineCells = std::int64_t{1} << 60;

}  // namespace

bool IsPlainParenthesis(ExpNode node) {
    return node && node.IsParenthesis();
}

ExpNode Unwrapped(ExpNode node) {
    return IsPlainParenthesis(node) ? node.GetLeft() : node;
}

bool NeedsBarsAsBase(ExpNode node) {
    return node && node.IsInfix() && (node.GetOp() == '*' || node.GetOp() == '^');
}

bool TreeMeasure::Measure(ExpNode root, std::int32_t maxExtent) {
    const ExpressionTree& tree = *root.Tree();
    m_first = tree.SubtreeStart(root.Index());
    m_nodes.assign(root.Index() + 1 - m_first, NodeMeasure{});
    m_lineCells = 0;
    for (std::uint32_t i = m_first; i <= root.Index(); ++i) {
        const NodeMeasure measure = Combine(NodeAt(tree, i));
        if (measure.width > maxExtent || measure.top > maxExtent || measure.bottom < -maxExtent)
            return false;
        m_nodes[i - m_first] = measure;
        m_lineCells = std::min(kMostLineCells, m_lineCells + OwnLineCells(NodeAt(tree, i)));
    }
    // Parentheses around everything are drawn as well.
    m_lineCells = std::min(kMostLineCells, m_lineCells + BarCells(root));
    return true;
}

// A plain parenthesis among the children draws its bars unless the node
// leaves it out (see Unwrapped): the parts of a fraction and the exponent.
std::int64_t TreeMeasure::BarCells(ExpNode node) const {
    if (!IsPlainParenthesis(node))
        return 0;
    const NodeMeasure& content = Of(node);
    return 2 * std::max<std::int64_t>(0, std::int64_t{content.top} - content.bottom);
}

std::int64_t TreeMeasure::OwnLineCells(ExpNode node) const {
    switch (node.Kind()) {
        case ExpNodeKind::Number:
        case ExpNodeKind::Variable:
            return 0;
        case ExpNodeKind::Parenthesis:
            return BarCells(node.GetLeft());
        case ExpNodeKind::Sign:
            return BarCells(node.GetRight());
        case ExpNodeKind::Call: {
            std::int64_t top = INT32_MIN;
            std::int64_t bottom = INT32_MAX;
            std::int64_t cells = 0;
            for (ExpNode arg = node.LastArg(); arg; arg = arg.PreviousArg(node)) {
                top = std::max<std::int64_t>(top, Of(arg).top);
                bottom = std::min<std::int64_t>(bottom, Of(arg).bottom);
                cells += BarCells(arg);
            }
            return cells + 2 * std::max<std::int64_t>(0, top - bottom);
        }
        case ExpNodeKind::Infix:
            switch (node.GetOp()) {
                case '/':
                    return Of(node).width;
                case '^': {
                    const NodeMeasure& base = Of(node.GetLeft());
                    const std::int64_t bars =
                        NeedsBarsAsBase(node.GetLeft())
                            ? 2 * std::max<std::int64_t>(0, std::int64_t{base.top} - base.bottom)
                            : 0;
                    return bars + BarCells(node.GetLeft());
                }
                default:
                    return BarCells(node.GetLeft()) + BarCells(node.GetRight());
            }
    }
    return 0;
}

const NodeMeasure& TreeMeasure::OfDrawn(ExpNode node) const {
    return Of(Unwrapped(node));
}

NodeMeasure TreeMeasure::Combine(ExpNode node) const {
    std::int64_t width = 0;
    std::int64_t top = 1;
    std::int64_t bottom = 0;
    switch (node.Kind()) {
        case ExpNodeKind::Number:
        case ExpNodeKind::Variable:
            width = static_cast<std::int64_t>(node.GetText().size());
            break;
        case ExpNodeKind::Parenthesis: {
            const NodeMeasure& content = Of(node.GetLeft());
            width = std::int64_t{content.width} + 2;
            top = content.top;
            bottom = content.bottom;
            break;
        }
        case ExpNodeKind::Call: {
            const std::uint32_t count = node.ArgCount();
            width = static_cast<std::int64_t>(node.GetName().size()) + 2;
            top = kEmptyCallTop;
            bottom = kEmptyCallBottom;
            for (ExpNode arg = node.LastArg(); arg; arg = arg.PreviousArg(node)) {
                width += Of(arg).width;
                top = std::max<std::int64_t>(top, Of(arg).top);
                bottom = std::min<std::int64_t>(bottom, Of(arg).bottom);
            }
            if (count > 1)
                width += 2 * static_cast<std::int64_t>(count - 1);  // ", "
            break;
        }
        case ExpNodeKind::Sign: {
            // " - " before the operand.
            const NodeMeasure& operand = Of(node.GetRight());
            width = std::int64_t{operand.width} + 3;
            top = operand.top;
            bottom = operand.bottom;
            break;
        }
        case ExpNodeKind::Infix: {
            const NodeMeasure& left = Of(node.GetLeft());
            const NodeMeasure& right = Of(node.GetRight());
            switch (node.GetOp()) {
                case '/':
                    width = std::int64_t{std::max(OfDrawn(node.GetLeft()).width,
                                                  OfDrawn(node.GetRight()).width)} +
                            2;
                    top = std::int64_t{left.top} - left.bottom + 1;
                    bottom = std::int64_t{right.bottom} - right.top;
                    break;
                case '^':
                    width = std::int64_t{left.width} + (NeedsBarsAsBase(node.GetLeft()) ? 2 : 0) +
                            OfDrawn(node.GetRight()).width;
                    top = std::int64_t{left.top} + right.top - right.bottom;
                    bottom = left.bottom;
                    break;
                default:
                    // " + " between the operands.
                    width = std::int64_t{left.width} + 3 + right.width;
                    top = std::max(left.top, right.top);
                    bottom = std::min(left.bottom, right.bottom);
                    break;
            }
            break;
        }
    }
    // Values beyond the int range are clamped here; the caller refuses them.
    auto clamp = [](std::int64_t value) {
        constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
        return static_cast<std::int32_t>(std::clamp(value, -kMax, kMax));
    };
    return NodeMeasure{clamp(width), clamp(top), clamp(bottom)};
}

namespace {

NodeMeasure MeasureOf(ExpNode node) {
    if (!node)
        return {};
    TreeMeasure measure;
    measure.Measure(node, std::numeric_limits<std::int32_t>::max());
    return measure.Of(node);
}

}  // namespace

int TopExtent(ExpNode node) {
    return MeasureOf(node).top;
}

int BottomExtent(ExpNode node) {
    return MeasureOf(node).bottom;
}
