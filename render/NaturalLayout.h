#pragma once

#include <cstdint>
#include <vector>

#include "ExpNode.h"
#include "NaturalCanvas.h"
#include "NaturalMeasure.h"

// Draws a measured subtree onto the canvas. Where a node goes follows from
// its parent's place and the measurements, and in the tree's post-order a
// parent stands after its children: one loop from the root back to the
// first node places every node before it is reached. The narrower part of
// a fraction is placed centred straight away, so nothing drawn moves later.
// The nodes are drawn from the last back to the first, so rows are written
// from right to left: a canvas that is to hold the drawing plans it first
// (see NaturalCanvas::BeginPlan), each pass being one Draw.
class NaturalLayout {
  public:
    NaturalLayout(NaturalCanvas& canvas, const TreeMeasure& measure)
        : m_canvas(canvas), m_measure(measure) {}

    // Draws the subtree of `root` with its baseline at `level`, starting at
    // `column`.
    void Draw(ExpNode root, int column, int level);

    // Bytes of bookkeeping per node that Draw takes besides the canvas.
    static constexpr std::size_t kBytesPerNode = 2 * sizeof(std::int32_t);

  private:
    // Where a node's drawing starts; nodes never placed (the plain
    // parentheses a drawing leaves out) are not drawn.
    struct Placement {
        std::int32_t column = kNotDrawn;
        std::int32_t level = 0;
    };
    static constexpr std::int32_t kNotDrawn = -1;

    // One pass over the nodes, from the root back to the first.
    void DrawNodes(ExpNode root, int column, int level);
    void DrawBrackets(ExpNode node, Placement at);
    void DrawFraction(ExpNode node, Placement at);
    void DrawPower(ExpNode node, Placement at);
    void DrawOperator(ExpNode node, Placement at);
    // Bars on the levels a part takes, which sits with its baseline at `level`.
    void DrawBars(int column, int level, const NodeMeasure& content);
    void Place(ExpNode node, int column, int level);

    NaturalCanvas& m_canvas;
    const TreeMeasure& m_measure;
    std::vector<Placement> m_placements;  // indexed like the tree's nodes, from m_first
    std::uint32_t m_first = 0;
};
