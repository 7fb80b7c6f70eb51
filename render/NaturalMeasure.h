#pragma once

#include <cstdint>
#include <vector>

class CExpNode;

// What the natural form needs to know of a subtree before drawing it: how
// wide its drawing is and which levels it takes relative to its baseline,
// from `bottom` (inclusive) up to `top` (exclusive).
struct NodeMeasure {
    std::int32_t width = 0;
    std::int32_t top = 0;
    std::int32_t bottom = 0;
    std::uint32_t size = 0;  // nodes in the subtree, the node included
};

// The measurements of every node of one tree, indexed in pre-order (a node,
// then its children's subtrees in drawing order), taken in one pass from the
// leaves up, so that each node is measured once however deep the tree is.
class CTreeMeasure {
  public:
    // Measures the tree below root. False when the drawing would be larger
    // than the limits (more nodes than maxNodes, or wider or higher than
    // maxExtent); the measurements are then incomplete.
    bool Measure(const CExpNode& root, std::uint32_t maxNodes, std::int32_t maxExtent);

    const NodeMeasure& operator[](std::uint32_t index) const { return m_nodes[index]; }

  private:
    NodeMeasure Combine(const CExpNode& node, std::uint32_t index) const;

    std::vector<NodeMeasure> m_nodes;
};

// The levels a node's drawing takes above and below its baseline: the top
// level is exclusive, the bottom one inclusive. An absent node takes none.
int TopExtent(const CExpNode* node);
int BottomExtent(const CExpNode* node);

// A plain parenthesis (no name): its bars are left out where the drawing
// shows the grouping by itself, in a numerator, denominator or exponent.
bool IsPlainParenthesis(const CExpNode* node);

// The base of a power that is a product or a power is drawn between bars.
bool NeedsBarsAsBase(const CExpNode* node);

// The i-th child in drawing order: a call's arguments, else the left child
// then the right one, absent children skipped. Null past the last one.
const CExpNode* ChildAt(const CExpNode& node, std::size_t i);
