#include "NaturalForm.h"

#include <algorithm>
#include <utility>

#include "ExpNode.h"
#include "LineBreaking.h"
#include "NaturalLayout.h"
#include "NaturalMeasure.h"

namespace {

// Each node draws at least one cell, and no drawing may take more cells
// than the byte limit, so these bound the measuring before any drawing.
constexpr std::uint32_t kMaxNodes = static_cast<std::uint32_t>(CNaturalForm::kMaxDrawingBytes);
constexpr std::int32_t kMaxExtent = static_cast<std::int32_t>(CNaturalForm::kMaxDrawingBytes);

const std::string kLineFeed(1, '\n');

}  // namespace

CNaturalForm::CNaturalForm(const CExpNode* root) : m_pRoot(CopyTree(root)) {}

CNaturalForm::CNaturalForm(std::unique_ptr<CExpNode> root) : m_pRoot(std::move(root)) {}

CNaturalForm::~CNaturalForm() = default;

std::vector<std::string> CNaturalForm::Render(int width) {
    m_canvas.Clear();
    m_nCursor = 0;
    m_bTooLarge = !Layout(0, m_pRoot.get());
    std::vector<std::string> lines;
    if (!m_bTooLarge)
        lines = CutIntoLines(width);
    // The canvas has served its purpose; a large one should not outlive the call.
    m_canvas.Clear();
    return lines;
}

bool CNaturalForm::Layout(int level, const CExpNode* node) {
    if (!node)
        return true;
    CTreeMeasure measure;
    if (!measure.Measure(*node, kMaxNodes, kMaxExtent))
        return false;
    if (std::int64_t{m_nCursor} + measure[0].width > kMaxExtent)
        return false;
    CNaturalLayout(m_canvas, measure).Draw(*node, m_nCursor, level);
    m_nCursor += measure[0].width;
    return !m_canvas.Overflowed();
}

std::vector<std::string> CNaturalForm::CutIntoLines(int width) {
    const int drawingWidth = m_nCursor;
    const std::vector<int> cuts =
        ChooseCuts(FindCutCandidates(m_canvas.Find(0), drawingWidth), drawingWidth, width);

    // A segment's piece of a row ends before the space that precedes the
    // operator it is cut at; the last one runs to the end.
    struct Piece {
        int from;
        int count;
    };
    std::vector<Piece> pieces;
    pieces.reserve(cuts.size());
    for (int from = 0; const int cut : cuts) {
        pieces.push_back({from, cut == drawingWidth ? cut - from : cut - from - 1});
        from = cut;
    }

    const std::optional<int> topLevel = m_canvas.HighestUsedLevel();
    const int rowCount = topLevel ? m_canvas.UsedCount() : 0;

    // Which rows show in which segment: a piece of spaces only is dropped.
    // Each row is only looked at where it holds something.
    std::vector<std::pair<std::uint32_t, int>> shown;  // (segment, row), row by row
    std::vector<std::size_t> perSegment(pieces.size() + 1, 0);
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
                shown.emplace_back(s, r);
                ++perSegment[s + 1];
            }
        }
    }

    // Group the rows by segment, keeping them top to bottom.
    std::size_t textBytes = pieces.empty() ? 0 : pieces.size() - 1;
    for (const auto& [s, r] : shown)
        textBytes += static_cast<std::size_t>(pieces[s].count);
    if (textBytes > kMaxDrawingBytes) {
        m_bTooLarge = true;
        return {};
    }
    for (std::size_t s = 1; s < perSegment.size(); ++s)
        perSegment[s] += perSegment[s - 1];
    std::vector<int> rowsBySegment(shown.size());
    for (const auto& [s, r] : shown)
        rowsBySegment[perSegment[s]++] = r;

    std::vector<std::string> lines;
    lines.reserve(shown.size() + pieces.size());
    std::size_t next = 0;
    for (std::size_t s = 0; s < pieces.size(); ++s) {
        if (s > 0)
            lines.push_back(kLineFeed);
        for (; next < perSegment[s]; ++next) {
            lines.push_back(m_canvas.Find(*topLevel - rowsBySegment[next])
                                ->Piece(pieces[s].from, pieces[s].count));
        }
    }
    return lines;
}
