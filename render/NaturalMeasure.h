#pragma once

#include <cstdint>
#include <vector>

#include "ExpNode.h"
#include "ExpressionTree.h"

// What the natural form needs to know of a subtree before drawing it: how
// wide its drawing is and which levels it takes relative to its baseline,
// from `bottom` (inclusive) up to `top` (exclusive).
struct NodeMeasure {
    std::int32_t width = 0;
    std::int32_t top = 0;
    std::int32_t bottom = 0;
};

// The measurements of every node of one subtree, indexed like the tree's
// nodes. The tree is in post-order, so one loop from the first node to the
// root finds each node's children measured before it.
class TreeMeasure {
  public:
    // Measures the subtree below root. False when the drawing would be
    // wider or higher than maxExtent; the measurements are then incomplete.
    bool Measure(ExpNode root, std::int32_t maxExtent);

    const NodeMeasure& operator[](std::uint32_t index) const { return m_nodes[index - m_first]; }
    const NodeMeasure& Of(ExpNode node) const { return (*this)[node.Index()]; }
    // What is drawn of a child: the content of plain parentheses that the
    // drawing leaves out (see Unwrapped).
    const NodeMeasure& OfDrawn(ExpNode node) const;

    // How many cells the rules and bars of the drawing take. Each is a cell
    // of its own, so the drawing needs at least as many bytes: a drawing too
    // large for its limit is known before anything is drawn.
    std::int64_t LineCells() const { return m_lineCells; }

  private:
    NodeMeasure Combine(ExpNode node) const;
    // The cells of the rule and the bars a node draws itself, the bars of
    // the parentheses among its children included.
    std::int64_t OwnLineCells(ExpNode node) const;
    std::int64_t BarCells(ExpNode node) const;

    std::vector<NodeMeasure> m_nodes;
    std::uint32_t m_first = 0;
    std::int64_t m_lineCells = 0;
};

// The levels a node's drawing takes above and below its baseline: the top
// level is exclusive, the bottom one inclusive. An absent node takes none.
int TopExtent(ExpNode node);
int BottomExtent(ExpNode node);

// A plain parenthesis: its bars are left out where the drawing shows the
// grouping by itself, in a numerator, denominator or exponent.
bool IsPlainParenthesis(ExpNode node);
// `node`, or the content of plain parentheses.
ExpNode Unwrapped(ExpNode node);

// The base of a power that is a product or a power is drawn between bars.
bool NeedsBarsAsBase(ExpNode node);
