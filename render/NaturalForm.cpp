#include "NaturalForm.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "LineBreaking.h"
#include "NaturalLayout.h"
#include "NaturalMeasure.h"

namespace {

constexpr std::string_view kLineFeed = "\n";
// A drawing is never wider or higher than its byte limit.
constexpr std::int32_t kMaxExtent = static_cast<std::int32_t>(CNaturalForm::kMaxDrawingBytes);
// What a line returned in a vector takes besides its text.
constexpr std::size_t kLineOverhead = sizeof(std::string);

// One drawing: laid out on a canvas whose byte account every part of the
// drawing is charged to, then cut into lines.
class Drawing {
  public:
    explicit Drawing(std::size_t heldBytesPerLine)
        : m_canvas(CNaturalForm::kMaxDrawingBytes), m_heldBytesPerLine(heldBytesPerLine) {}

    bool Lay(const ExpressionTree& tree);
    // False when the lines would be too large to hold.
    bool Cut(int width, const CNaturalForm::LineSink& line);

  private:
    template <class T>
    bool Reserve(std::vector<T>& list, std::size_t count) {
        if (!m_canvas.Charge(count * sizeof(T)))
            return false;
        list.reserve(count);
        return true;
    }

    NaturalCanvas m_canvas;
    std::size_t m_heldBytesPerLine;
    int m_nWidth = 0;
};

bool Drawing::Lay(const ExpressionTree& tree) {
    if (tree.IsEmpty())
        return true;
    // The bookkeeping of every node is charged before it is taken.
    if (!m_canvas.Charge(std::size_t{tree.Size()} *
                         (sizeof(NodeMeasure) + NaturalLayout::kBytesPerNode)))
        return false;
    TreeMeasure measure;
    if (!measure.Measure(tree.Root(), kMaxExtent))
        return false;
    if (!m_canvas.Foresee(measure.LineCells()))
        return false;
    m_nWidth = measure.Of(tree.Root()).width;
    NaturalLayout(m_canvas, measure).Draw(tree.Root(), 0, 0);
    return !m_canvas.Overflowed();
}

bool Drawing::Cut(int width, const CNaturalForm::LineSink& line) {
    const int drawingWidth = m_nWidth;
    const NaturalCanvas::Row* baseline = m_canvas.Find(0);
    // There are never more candidates than baseline cells, nor more cuts
    // than candidates.
    const std::size_t mostCandidates =
        (baseline ? static_cast<std::size_t>(baseline->EndColumn() - baseline->FirstColumn()) : 0) +
        1;
    if (!m_canvas.Charge(2 * mostCandidates * sizeof(int)))
        return false;
    std::vector<int> cuts;
    {
        const std::vector<int> candidates = FindCutCandidates(baseline, drawingWidth);
        cuts = ChooseCuts(candidates, drawingWidth, width);
    }

    // A segment's piece of a row ends before the space that precedes the
    // operator it is cut at; the last one runs to the end.
    struct Piece {
        int from;
        int count;
    };
    std::vector<Piece> pieces;
    if (!Reserve(pieces, cuts.size()))
        return false;
    for (int from = 0; const int cut : cuts) {
        pieces.push_back({from, cut == drawingWidth ? cut - from : cut - from - 1});
        from = cut;
    }

    const std::optional<int> topLevel = m_canvas.HighestUsedLevel();
    const int rowCount = topLevel ? m_canvas.UsedCount() : 0;

    // Which rows show in which segment: a piece of spaces only is dropped.
    // Each row is only looked at where it holds something.
    std::vector<std::pair<std::uint32_t, int>> shown;  // (segment, row), row by row
    std::vector<std::size_t> perSegment;
    if (!Reserve(perSegment, pieces.size() + 1))
        return false;
    perSegment.assign(pieces.size() + 1, 0);
    std::size_t heldBytes = pieces.empty() ? 0 : (pieces.size() - 1) * (m_heldBytesPerLine + 1);
    for (int r = 0; r < rowCount; ++r) {
        const NaturalCanvas::Row* row = m_canvas.Find(*topLevel - r);
        if (!row || row->IsEmpty())
            continue;
        auto segment = std::partition_point(pieces.begin(), pieces.end(), [&](const Piece& piece) {
            return piece.from + piece.count <= row->FirstColumn();
        });
        for (; segment != pieces.end() && segment->from < row->EndColumn(); ++segment) {
            if (segment->count > 0 && row->HasInk(segment->from, segment->count)) {
                const auto s = static_cast<std::uint32_t>(segment - pieces.begin());
                if (!m_canvas.Charge(sizeof(shown.front()) + sizeof(int)))
                    return false;
                shown.emplace_back(s, r);
                ++perSegment[s + 1];
                heldBytes += m_heldBytesPerLine + static_cast<std::size_t>(segment->count);
            }
        }
    }
    // The text of the lines counts whether the caller keeps them or not: a
    // drawing of more text than the limit is not made either way.
    if (!m_canvas.Charge(heldBytes))
        return false;

    // Group the rows by segment, keeping them top to bottom.
    for (std::size_t s = 1; s < perSegment.size(); ++s)
        perSegment[s] += perSegment[s - 1];
    std::vector<int> rowsBySegment(shown.size());
    for (const auto& [s, r] : shown)
        rowsBySegment[perSegment[s]++] = r;
    std::vector<std::pair<std::uint32_t, int>>().swap(shown);

    std::string piece;
    std::size_t next = 0;
    for (std::size_t s = 0; s < pieces.size(); ++s) {
        if (s > 0)
            line(kLineFeed);
        for (; next < perSegment[s]; ++next) {
            m_canvas.Find(*topLevel - rowsBySegment[next])
                ->CopyPiece(pieces[s].from, pieces[s].count, piece);
            line(piece);
        }
    }
    return true;
}

}  // namespace

CNaturalForm::CNaturalForm(const ExpressionTree* tree)
    : m_pRoot(tree ? std::make_unique<ExpressionTree>(*tree) : nullptr) {}

CNaturalForm::CNaturalForm(std::unique_ptr<ExpressionTree> tree) : m_pRoot(std::move(tree)) {}

CNaturalForm::~CNaturalForm() = default;

std::vector<std::string> CNaturalForm::Render(int width) {
    std::vector<std::string> lines;
    m_bTooLarge = false;
    if (!m_pRoot)
        return lines;
    Drawing drawing(kLineOverhead);
    m_bTooLarge = !drawing.Lay(*m_pRoot) || !drawing.Cut(width, [&lines](std::string_view line) {
        lines.emplace_back(line);
    });
    if (m_bTooLarge)
        lines.clear();
    return lines;
}

bool CNaturalForm::Draw(const ExpressionTree& tree, int width, const LineSink& line) {
    Drawing drawing(0);
    return drawing.Lay(tree) && drawing.Cut(width, line);
}
