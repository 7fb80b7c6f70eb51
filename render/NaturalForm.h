#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "NaturalCanvas.h"

class CExpNode;

// The natural written form of an expression: fractions over a rule, raised
// exponents, brackets as bars that grow with their content, drawn as plain
// text for a fixed-pitch font and cut into lines at the operators of the
// main baseline.
class CNaturalForm {
  public:
    // A drawing that would take more than this (canvas storage, or the text
    // of its lines) is not made: Render then returns no lines and
    // IsTooLarge() tells why. Every drawing of a few thousand rows or
    // millions of columns stays well within it.
    static constexpr std::size_t kMaxDrawingBytes = std::size_t{64} << 20;

    // Draws a deep copy of the tree (null draws nothing).
    explicit CNaturalForm(const CExpNode* root);
    // Draws this tree, which the object takes over: no copy is made.
    explicit CNaturalForm(std::unique_ptr<CExpNode> root);
    virtual ~CNaturalForm();
    CNaturalForm(const CNaturalForm&) = delete;
    CNaturalForm& operator=(const CNaturalForm&) = delete;

    // Lays the tree out, cuts it into segments that stay within `width`
    // columns where the drawing allows it, and returns the rows of every
    // segment, top to bottom, segment after segment; between two segments
    // stands an element holding a single line feed.
    std::vector<std::string> Render(int width);

    // Whether the last Render refused a drawing larger than kMaxDrawingBytes.
    bool IsTooLarge() const { return m_bTooLarge; }

  private:
    // Draws a node with its baseline at `level`, starting at column
    // m_nCursor, and leaves m_nCursor just right of the drawing. False when
    // the drawing is too large.
    bool Layout(int level, const CExpNode* node);
    std::vector<std::string> CutIntoLines(int width);

    std::int32_t m_nCursor = 0;
    NaturalCanvas m_canvas{kMaxDrawingBytes};
    std::unique_ptr<CExpNode> m_pRoot;
    bool m_bTooLarge = false;
};
