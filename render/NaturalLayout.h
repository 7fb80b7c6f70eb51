#pragma once

#include <cstdint>
#include <vector>

#include "NaturalCanvas.h"
#include "NaturalMeasure.h"

class CExpNode;

// Draws a measured tree onto the canvas. Every node's place follows from
// the measurements of its children, so the nodes are drawn one by one from
// a list of waiting parts rather than by recursion; the narrower part of a
// fraction is drawn centred straight away.
class CNaturalLayout {
  public:
    CNaturalLayout(NaturalCanvas& canvas, const CTreeMeasure& measure)
        : m_canvas(canvas), m_measure(measure) {}

    // Draws the tree measured as index 0 with its baseline at `level`,
    // starting at `column`.
    void Draw(const CExpNode& root, int column, int level);

  private:
    // A node as the drawing shows it, with the index of its measurement.
    struct Part {
        const CExpNode* node = nullptr;
        std::uint32_t index = 0;
    };
    struct Placed {
        Part part;
        int column;
        int level;
    };

    void DrawBrackets(const Placed& at, Part content);
    void DrawFraction(const Placed& at, Part left, Part right);
    void DrawPower(const Placed& at, Part left, Part right);
    void DrawOperator(const Placed& at, Part left, Part right);
    // Bars on the levels a part takes, which sits with its baseline at `level`.
    void DrawBars(int column, int level, const NodeMeasure& content);
    // The parentheses of a numerator, denominator or exponent are not drawn.
    static Part Unwrap(Part part);
    const NodeMeasure& Measured(Part part) const;
    void Place(Part part, int column, int level);

    NaturalCanvas& m_canvas;
    const CTreeMeasure& m_measure;
    std::vector<Placed> m_waiting;
    std::vector<Placed> m_children;  // of the node being drawn
    std::vector<Part> m_arguments;   // of the call being drawn
};
