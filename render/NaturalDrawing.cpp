#include "NaturalDrawing.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

#include "LineBreaking.h"
#include "NaturalLayout.h"

namespace {

constexpr std::string_view kLineFeed = "\n";
// What Cut keeps of each row shown in a segment: its entry in the list of
// shown rows, then in the same rows grouped by segment.
using ShownRow = std::pair<std::uint32_t, int>;  // (segment, row)
constexpr std::size_t kShownRowBytes = sizeof(ShownRow) + sizeof(int);

}  // namespace

// Which pieces of the surveyed rows hold ink: a row whose first and last
// cells do not tell it is looked at write by write, one bit for each piece
// its span overlaps. What it keeps lives only while the drawing is planned
// and is not charged: it takes less than the rows were charged.
class NaturalDrawing::Survey final : public NaturalCanvas::InkSurvey {
  public:
    Survey(const std::vector<Piece>& pieces, int topLevel, int rowCount)
        : m_pieces(pieces), m_topLevel(topLevel), m_rowCount(rowCount) {}

    // Surveys row `r` (counted from the top level down) over the pieces
    // from `firstPiece` to `lastPiece`.
    void Add(int r, std::size_t firstPiece, std::size_t lastPiece) {
        if (m_surveyed.empty())
            m_surveyed.assign(static_cast<std::size_t>(m_rowCount), kNotSurveyed);
        m_surveyed[static_cast<std::size_t>(r)] = m_rows.size();
        m_rows.push_back({m_bits.size(), firstPiece, lastPiece});
        m_bits.resize(m_bits.size() + (lastPiece - firstPiece + 1), false);
    }
    bool IsNeeded() const { return !m_rows.empty(); }

    void Ink(int level, int from, int end) override {
        if (!IsSurveyed(level))
            return;
        auto piece = std::partition_point(m_pieces.begin(), m_pieces.end(),
                                          [&](const Piece& p) { return p.from + p.count <= from; });
        for (; piece != m_pieces.end() && piece->from < end; ++piece) {
            if (piece->count > 0)
                Mark(level, static_cast<std::size_t>(piece - m_pieces.begin()));
        }
    }

    void InkColumn(int column, int lowLevel, int highLevel) override {
        const auto piece =
            std::partition_point(m_pieces.begin(), m_pieces.end(),
                                 [&](const Piece& p) { return p.from + p.count <= column; });
        if (piece == m_pieces.end() || piece->from > column)
            return;
        for (int level = lowLevel; level <= highLevel; ++level) {
            if (IsSurveyed(level))
                Mark(level, static_cast<std::size_t>(piece - m_pieces.begin()));
        }
    }

    // Calls show(piece) for every piece of a surveyed row that holds ink.
    template <class Show>
    void ForEachShown(Show show) const {
        for (const Row& row : m_rows) {
            for (std::size_t piece = row.firstPiece; piece <= row.lastPiece; ++piece) {
                if (m_bits[row.firstBit + piece - row.firstPiece])
                    show(piece);
            }
        }
    }

  private:
    struct Row {
        std::size_t firstBit;
        std::size_t firstPiece;
        std::size_t lastPiece;
    };
    static constexpr std::size_t kNotSurveyed = static_cast<std::size_t>(-1);

    std::size_t IndexOf(int level) const {
        return static_cast<std::size_t>(std::int64_t{m_topLevel} - level);
    }
    bool IsSurveyed(int level) const {
        const std::int64_t r = std::int64_t{m_topLevel} - level;
        return r >= 0 && r < m_rowCount && m_surveyed[IndexOf(level)] != kNotSurveyed;
    }
    void Mark(int level, std::size_t piece) {
        const Row& row = m_rows[m_surveyed[IndexOf(level)]];
        if (piece >= row.firstPiece && piece <= row.lastPiece)
            m_bits[row.firstBit + piece - row.firstPiece] = true;
    }

    const std::vector<Piece>& m_pieces;
    int m_topLevel;
    int m_rowCount;
    std::vector<std::size_t> m_surveyed;  // each row's index in m_rows, or kNotSurveyed
    std::vector<Row> m_rows;
    std::vector<bool> m_bits;
};

NaturalDrawing::NaturalDrawing(std::size_t byteLimit, std::size_t heldBytesPerLine)
    : m_canvas(byteLimit),
      m_heldBytesPerLine(heldBytesPerLine),
      // A drawing is never wider or higher than its byte limit.
      m_maxExtent(static_cast<std::int32_t>(
          std::min<std::size_t>(byteLimit, std::numeric_limits<std::int32_t>::max()))) {}

bool NaturalDrawing::Plan(const ExpressionTree& tree, int width) {
    if (tree.IsEmpty())
        return true;
    // The bookkeeping of every node is charged before it is taken.
    if (!m_canvas.Charge(std::size_t{tree.Size()} *
                         (sizeof(NodeMeasure) + NaturalLayout::kBytesPerNode)))
        return false;
    if (!m_measure.Measure(RootNode(tree), m_maxExtent) || !m_canvas.Foresee(m_measure.LineCells()))
        return false;
    m_tree = &tree;
    m_width = m_measure.Of(RootNode(tree)).width;
    m_canvas.BeginPlan();
    DrawNodes();
    // The bookkeeping of the cuts follows from the baseline's span, which
    // the plan knows: a drawing it would take beyond the limit is refused
    // before the baseline is drawn.
    if (m_canvas.Overflowed() || !m_canvas.Foresee(static_cast<std::int64_t>(CandidateBytes())))
        return false;
    // The cuts follow from the operators on the baseline, so it is drawn
    // before the rest.
    m_canvas.BeginBaseline();
    DrawNodes();
    if (m_canvas.Overflowed() || !PlanPieces(width))
        return false;
    const std::uint64_t lineBytes = PlanLines();
    const std::size_t charged = m_canvas.ChargedBytes();
    m_plannedBytes = charged + static_cast<std::size_t>(std::min<std::uint64_t>(
                                   lineBytes, std::numeric_limits<std::size_t>::max() - charged));
    return m_canvas.Foresee(static_cast<std::int64_t>(
        std::min<std::uint64_t>(lineBytes, std::numeric_limits<std::int64_t>::max())));
}

std::size_t NaturalDrawing::CandidateBytes() const {
    const NaturalCanvas::Row* baseline = m_canvas.Find(0);
    // There are never more candidates than baseline cells, nor more cuts
    // than candidates.
    const std::size_t mostCandidates =
        (baseline ? static_cast<std::size_t>(baseline->EndColumn() - baseline->FirstColumn()) : 0) +
        1;
    return 2 * mostCandidates * sizeof(int);
}

bool NaturalDrawing::PlanPieces(int width) {
    const NaturalCanvas::Row* baseline = m_canvas.Find(0);
    if (!m_canvas.Charge(CandidateBytes()))
        return false;
    std::vector<int> cuts;
    {
        const std::vector<int> candidates = FindCutCandidates(baseline, m_width);
        cuts = ChooseCuts(candidates, m_width, width);
    }
    if (!m_canvas.Charge(cuts.size() * sizeof(Piece)))
        return false;
    m_pieces.reserve(cuts.size());
    for (int from = 0; const int cut : cuts) {
        m_pieces.push_back({from, cut == m_width ? cut - from : cut - from - 1});
        from = cut;
    }
    return true;
}

std::size_t NaturalDrawing::PieceFrom(int column) const {
    return static_cast<std::size_t>(
        std::partition_point(m_pieces.begin(), m_pieces.end(),
                             [&](const Piece& p) { return p.from + p.count <= column; }) -
        m_pieces.begin());
}

std::size_t NaturalDrawing::PieceAt(int column) const {
    const std::size_t piece = PieceFrom(column);
    return piece < m_pieces.size() && m_pieces[piece].from <= column ? piece : m_pieces.size();
}

// A row shows in each piece where it holds ink. Its first and last cells
// hold ink: when the pieces holding them are the same or neighbours, no
// other piece holds any of the row, which is settled without a survey.
std::uint64_t NaturalDrawing::PlanLines() {
    const std::optional<int> topLevel = m_canvas.HighestUsedLevel();
    const int rowCount = topLevel ? m_canvas.UsedCount() : 0;
    std::uint64_t shown = 0;
    std::uint64_t text = 0;
    auto show = [&](std::size_t piece) {
        ++shown;
        text += static_cast<std::uint64_t>(m_pieces[piece].count);
    };
    Survey survey(m_pieces, topLevel.value_or(0), rowCount);
    for (int r = 0; r < rowCount; ++r) {
        const NaturalCanvas::Row* row = m_canvas.Find(*topLevel - r);
        if (!row || row->IsEmpty())
            continue;
        if (*topLevel - r == 0) {
            // The baseline is drawn already: its pieces are looked at.
            for (std::size_t piece = PieceFrom(row->FirstColumn());
                 piece < m_pieces.size() && m_pieces[piece].from < row->EndColumn(); ++piece) {
                if (m_pieces[piece].count > 0 &&
                    row->HasInk(m_pieces[piece].from, m_pieces[piece].count))
                    show(piece);
            }
            continue;
        }
        const std::size_t first = PieceAt(row->FirstColumn());
        const std::size_t last = PieceAt(row->EndColumn() - 1);
        if (first < m_pieces.size() && last < m_pieces.size() && last <= first + 1) {
            show(first);
            if (last != first)
                show(last);
            continue;
        }
        const std::size_t overlapped = PieceFrom(row->FirstColumn());
        const auto beyond = static_cast<std::size_t>(
            std::partition_point(m_pieces.begin(), m_pieces.end(),
                                 [&](const Piece& p) { return p.from < row->EndColumn(); }) -
            m_pieces.begin());
        if (overlapped < beyond)
            survey.Add(r, overlapped, beyond - 1);
    }
    if (survey.IsNeeded()) {
        m_canvas.BeginSurvey(survey);
        DrawNodes();
        survey.ForEachShown(show);
    }
    const std::uint64_t pieces = m_pieces.size();
    const std::uint64_t separators = pieces == 0 ? 0 : (pieces - 1) * (m_heldBytesPerLine + 1);
    return (pieces + 1) * sizeof(std::size_t) + shown * (kShownRowBytes + m_heldBytesPerLine) +
           text + separators;
}

void NaturalDrawing::DrawNodes() {
    NaturalLayout(m_canvas, m_measure).Draw(RootNode(*m_tree), 0, 0);
}

bool NaturalDrawing::Draw(const LineSink& line) {
    if (!m_tree)
        return true;
    m_canvas.BeginDrawing();
    DrawNodes();
    return !m_canvas.Overflowed() && Cut(line);
}

// The account is charged again as the lines are found, so that the plan
// never has the last word.
bool NaturalDrawing::Cut(const LineSink& line) {
    const std::optional<int> topLevel = m_canvas.HighestUsedLevel();
    const int rowCount = topLevel ? m_canvas.UsedCount() : 0;

    // Which rows show in which segment: a piece of spaces only is dropped.
    // Each row is only looked at where it holds something.
    std::vector<ShownRow> shown;  // row by row
    std::vector<std::size_t> perSegment;
    if (!m_canvas.Charge((m_pieces.size() + 1) * sizeof(std::size_t)))
        return false;
    perSegment.assign(m_pieces.size() + 1, 0);
    std::size_t heldBytes = m_pieces.empty() ? 0 : (m_pieces.size() - 1) * (m_heldBytesPerLine + 1);
    for (int r = 0; r < rowCount; ++r) {
        const NaturalCanvas::Row* row = m_canvas.Find(*topLevel - r);
        if (!row || row->IsEmpty())
            continue;
        auto segment = std::partition_point(
            m_pieces.begin(), m_pieces.end(),
            [&](const Piece& piece) { return piece.from + piece.count <= row->FirstColumn(); });
        for (; segment != m_pieces.end() && segment->from < row->EndColumn(); ++segment) {
            if (segment->count > 0 && row->HasInk(segment->from, segment->count)) {
                const auto s = static_cast<std::uint32_t>(segment - m_pieces.begin());
                if (!m_canvas.Charge(kShownRowBytes))
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
    std::vector<ShownRow>().swap(shown);

    std::string piece;
    std::size_t next = 0;
    for (std::size_t s = 0; s < m_pieces.size(); ++s) {
        if (s > 0)
            line(kLineFeed);
        for (; next < perSegment[s]; ++next) {
            m_canvas.Find(*topLevel - rowsBySegment[next])
                ->CopyPiece(m_pieces[s].from, m_pieces[s].count, piece);
            line(piece);
        }
    }
    return true;
}
