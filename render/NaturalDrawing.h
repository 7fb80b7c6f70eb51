#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "ExpressionTree.h"
#include "NaturalCanvas.h"
#include "NaturalMeasure.h"

// One natural-form drawing of a tree, cut into lines, with every byte it
// holds charged to one account: the measurements and places of the nodes,
// the canvas, the cuts and the text of the lines with what each line takes
// besides (`heldBytesPerLine`). The drawing is planned first, and its
// whole account is known then: a drawing beyond its limit is refused
// before anything is drawn, and planning and drawing both take time in
// proportion to what the drawing holds.
class NaturalDrawing {
  public:
    using LineSink = std::function<void(std::string_view line)>;

    NaturalDrawing(std::size_t byteLimit, std::size_t heldBytesPerLine);

    // Plans the drawing of `tree`, cut for `width` columns; false when it
    // would take more than the limit. The tree must outlive the drawing.
    bool Plan(const ExpressionTree& tree, int width);
    // Draws what was planned and hands its lines over, each segment's rows
    // top to bottom and a line feed alone between two segments; false when
    // the drawing took more than the limit after all.
    bool Draw(const LineSink& line);

    // What the account will hold once the lines are handed over, as planned.
    std::size_t PlannedBytes() const { return m_plannedBytes; }
    // What the account holds now.
    std::size_t ChargedBytes() const { return m_canvas.ChargedBytes(); }

  private:
    // A segment's piece of a row ends before the space that precedes the
    // operator it is cut at; the last one runs to the end.
    struct Piece {
        int from;
        int count;
    };
    class Survey;

    // What the candidates for the cuts take while the cuts are chosen.
    std::size_t CandidateBytes() const;
    bool PlanPieces(int width);
    // The bytes the lines will add to the account.
    std::uint64_t PlanLines();
    // The index of the first piece that ends after `column`, and of the
    // piece holding it; pieces' count where there is none.
    std::size_t PieceFrom(int column) const;
    std::size_t PieceAt(int column) const;
    void DrawNodes();
    bool Cut(const LineSink& line);

    NaturalCanvas m_canvas;
    std::size_t m_heldBytesPerLine;
    std::int32_t m_maxExtent;
    const ExpressionTree* m_tree = nullptr;
    TreeMeasure m_measure;
    int m_width = 0;
    std::vector<Piece> m_pieces;
    std::size_t m_plannedBytes = 0;
};
