#include "NaturalMeasure.h"

#include <algorithm>
#include <limits>

#include "ExpNode.h"

namespace {

// An empty argument list never comes from the parser; these are the
// extents it measures as all the same.
constexpr std::int64_t kEmptyCallTop = 0;
constexpr std::int64_t kEmptyCallBottom = 10000;

const NodeMeasure kAbsent{};

}  // namespace

const CExpNode* ChildAt(const CExpNode& node, std::size_t i) {
    if (node.IsCall()) {
        const CExpNode::ArgSpan args = node.GetArgs();
        return i < args.size() ? args[i].get() : nullptr;
    }
    if (!node.GetLeft())
        return i == 0 ? node.GetRight() : nullptr;
    if (i == 0)
        return node.GetLeft();
    return i == 1 ? node.GetRight() : nullptr;
}

bool IsPlainParenthesis(const CExpNode* node) {
    return node && node->GetOp() == '(' && node->GetName().empty();
}

bool NeedsBarsAsBase(const CExpNode* node) {
    return node && (node->GetOp() == '*' || node->GetOp() == '^');
}

bool CTreeMeasure::Measure(const CExpNode& root, std::uint32_t maxNodes, std::int32_t maxExtent) {
    m_nodes.clear();
    // A node is numbered when the walk enters it and measured when it
    // leaves it, after all its children.
    struct Frame {
        const CExpNode* node;
        std::uint32_t index;
        std::uint32_t nextChild;
    };
    std::vector<Frame> path;
    auto enter = [&](const CExpNode& node) {
        if (m_nodes.size() >= maxNodes)
            return false;
        path.push_back({&node, static_cast<std::uint32_t>(m_nodes.size()), 0});
        m_nodes.emplace_back();
        return true;
    };
    if (!enter(root))
        return false;
    while (!path.empty()) {
        Frame& frame = path.back();
        if (const CExpNode* child = ChildAt(*frame.node, frame.nextChild)) {
            ++frame.nextChild;
            if (!enter(*child))
                return false;
            continue;
        }
        const NodeMeasure measure = Combine(*frame.node, frame.index);
        if (measure.width > maxExtent || measure.top > maxExtent || measure.bottom < -maxExtent)
            return false;
        m_nodes[frame.index] = measure;
        path.pop_back();
    }
    return true;
}

NodeMeasure CTreeMeasure::Combine(const CExpNode& node, std::uint32_t index) const {
    // The children's subtrees follow the node in drawing order.
    std::uint32_t next = index + 1;
    std::uint32_t leftIndex = 0;
    std::uint32_t rightIndex = 0;
    const NodeMeasure* left = &kAbsent;
    const NodeMeasure* right = &kAbsent;
    std::size_t argumentCount = 0;
    std::int64_t argumentWidths = 0;
    std::int64_t argumentTop = kEmptyCallTop;
    std::int64_t argumentBottom = kEmptyCallBottom;
    if (node.IsCall()) {
        for (; ChildAt(node, argumentCount); ++argumentCount) {
            const NodeMeasure& argument = m_nodes[next];
            argumentWidths += argument.width;
            argumentTop = std::max<std::int64_t>(argumentTop, argument.top);
            argumentBottom = std::min<std::int64_t>(argumentBottom, argument.bottom);
            next += argument.size;
        }
    } else {
        if (node.GetLeft()) {
            leftIndex = next;
            left = &m_nodes[next];
            next += left->size;
        }
        if (node.GetRight()) {
            rightIndex = next;
            right = &m_nodes[next];
            next += right->size;
        }
    }
    // What is drawn for a child whose plain parentheses are left out: the
    // content, which directly follows the parenthesis node.
    auto unwrapped = [this](const CExpNode* child, std::uint32_t childIndex) -> const NodeMeasure& {
        if (!child)
            return kAbsent;
        if (!IsPlainParenthesis(child))
            return m_nodes[childIndex];
        return child->GetLeft() ? m_nodes[childIndex + 1] : kAbsent;
    };

    std::int64_t width = 0;
    std::int64_t top = 1;
    std::int64_t bottom = 0;
    switch (node.GetOp()) {
        case ' ':
            width = static_cast<std::int64_t>(node.GetText().size());
            break;
        case '(':
            width = static_cast<std::int64_t>(node.GetName().size()) + 2;
            if (node.IsCall()) {
                width += argumentWidths;
                if (argumentCount > 1)
                    width += 2 * static_cast<std::int64_t>(argumentCount - 1);  // ", "
                top = argumentTop;
                bottom = argumentBottom;
            } else {
                width += left->width;
                top = left->top;
                bottom = left->bottom;
            }
            break;
        case '/':
            width = std::int64_t{std::max(unwrapped(node.GetLeft(), leftIndex).width,
                                          unwrapped(node.GetRight(), rightIndex).width)} +
                    2;
            top = std::int64_t{left->top} - left->bottom + 1;
            bottom = std::int64_t{right->bottom} - right->top;
            break;
        case '^':
            width = std::int64_t{left->width} + (NeedsBarsAsBase(node.GetLeft()) ? 2 : 0) +
                    unwrapped(node.GetRight(), rightIndex).width;
            top = std::int64_t{left->top} + right->top - right->bottom;
            bottom = left->bottom;
            break;
        default:
            // An operator or sign: " + " between its operands.
            width = std::int64_t{left->width} + 3 + right->width;
            if (node.GetOp() == '+' || node.GetOp() == '-' || node.GetOp() == '*') {
                if (node.GetLeft() && node.GetRight()) {
                    top = std::max(left->top, right->top);
                    bottom = std::min(left->bottom, right->bottom);
                } else if (node.GetLeft() || node.GetRight()) {
                    const NodeMeasure& operand = node.GetLeft() ? *left : *right;
                    top = operand.top;
                    bottom = operand.bottom;
                }
            }
            // Any other kind measures as a leaf.
            break;
    }
    // Values beyond the int range are clamped here; the caller refuses them.
    auto clamp = [](std::int64_t value) {
        constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
        return static_cast<std::int32_t>(std::clamp(value, -kMax, kMax));
    };
    return NodeMeasure{clamp(width), clamp(top), clamp(bottom), next - index};
}

namespace {

NodeMeasure MeasureOf(const CExpNode* node) {
    if (!node)
        return kAbsent;
    CTreeMeasure measure;
    measure.Measure(*node, std::numeric_limits<std::uint32_t>::max(),
                    std::numeric_limits<std::int32_t>::max());
    return measure[0];
}

}  // namespace

int TopExtent(const CExpNode* node) {
    return MeasureOf(node).top;
}

int BottomExtent(const CExpNode* node) {
    return MeasureOf(node).bottom;
}
