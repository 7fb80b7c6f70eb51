#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ExpressionTree.h"
#include "NaturalCanvas.h"

// The natural written form of an expression: fractions over a rule, raised
// exponents, brackets as bars that grow with their content, drawn as plain
// text for a fixed-pitch font and cut into lines at the operators of the
// main baseline.
class NaturalForm {
  public:
    // A drawing that would take more memory than this is not made: Render
    // then returns no lines and IsTooLarge() tells why. Everything a drawing
    // holds counts: the measurements and places of the nodes, the canvas,
    // the cuts and, for Render, the lines it returns. All of it is known
    // once the drawing is planned, before it is drawn. A sum of a million
    // terms with fractions among them takes about 160 MB.
    static constexpr std::size_t kMaxDrawingBytes = std::size_t{256} << 20;

    // Draws a copy of the tree (null draws nothing).
    explicit NaturalForm(const ExpressionTree* tree);
    // Draws this tree, which the object takes over: no copy is made.
    explicit NaturalForm(std::unique_ptr<ExpressionTree> tree);
    // Draws this tree, which nobody changes, without a copy; the last of
    // its holders frees it.
    explicit NaturalForm(std::shared_ptr<const ExpressionTree> tree);
    virtual ~NaturalForm();
    NaturalForm(const NaturalForm&) = delete;
    NaturalForm& operator=(const NaturalForm&) = delete;

    // Lays the tree out, cuts it into segments that stay within `width`
    // columns where the drawing allows it, and returns the rows of every
    // segment, top to bottom, segment after segment; between two segments
    // stands an element holding a single line feed.
    std::vector<std::string> Render(int width);

    // Hands the lines Render would return to `line` one by one, without
    // keeping them; `heldBytesPerLine` is what the caller keeps per line
    // besides its text, counted against the same limit. False, as
    // IsTooLarge() then tells, when the drawing is too large.
    bool DrawLines(int width, std::size_t heldBytesPerLine,
                   const std::function<void(std::string_view)>& line);

    // Whether the last Render refused a drawing larger than kMaxDrawingBytes.
    bool IsTooLarge() const { return m_tooLarge; }

    // Hands the lines Render would return to `line` one by one, without
    // keeping them, and without a copy of the tree; false when the drawing
    // is too large (then no line is handed over). The limit is the same,
    // less what Render's list of lines would take besides their text.
    using LineSink = std::function<void(std::string_view line)>;
    static bool Draw(const ExpressionTree& tree, int width, const LineSink& line);

    // Whether the drawing of `tree` is sure to go beyond kMaxDrawingBytes,
    // told at once from what the parser counted (ExpressionTree::Drawn)
    // rather than after the tree is measured. False says nothing: the
    // drawing itself may still be refused.
    static bool IsSurelyTooLarge(const ExpressionTree& tree);

  private:
    std::shared_ptr<const ExpressionTree> m_root;
    bool m_tooLarge = false;
};
