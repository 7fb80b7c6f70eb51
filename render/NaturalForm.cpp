#include "NaturalForm.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "ExpNode.h"
#include "LineBreaking.h"
#include "NaturalMeasure.h"

namespace {

// Each node draws at least one cell, and no drawing may take more cells
// than the byte limit, so these bound the measuring before any drawing.
constexpr std::uint32_t kMaxNodes = static_cast<std::uint32_t>(CNaturalForm::kMaxDrawingBytes);
constexpr std::int32_t kMaxExtent = static_cast<std::int32_t>(CNaturalForm::kMaxDrawingBytes);

const std::string kLineFeed(1, '\n');

// A child as the drawing shows it, with the index of its measurement.
struct Part {
    const CExpNode* node = nullptr;
    std::uint32_t index = 0;
};

// The parentheses of a numerator, denominator or exponent are not drawn:
// the part is then the parenthesis node's content, measured right after it.
Part Unwrap(Part part) {
    if (!IsPlainParenthesis(part.node))
        return part;
    return {part.node->GetLeft(), part.index + 1};
}

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
    DrawTree(*node, measure, level);
    m_nCursor += measure[0].width;
    return !m_canvas.Overflowed();
}

// Every node's place follows from the measurements of its children, so the
// nodes are drawn one by one from a list of waiting parts rather than by
// recursion. The smaller subtrees are drawn first: the parts left waiting
// then at least halve in size each time the list grows, which keeps the list
// short however deep the tree is.
void CNaturalForm::DrawTree(const CExpNode& root, const CTreeMeasure& measure, int level) {
    struct Placed {
        Part part;
        int x;
        int level;
    };
    std::vector<Placed> waiting{{{&root, 0}, m_nCursor, level}};
    std::vector<Placed> children;
    while (!waiting.empty() && !m_canvas.Overflowed()) {
        const Placed current = waiting.back();
        waiting.pop_back();
        const CExpNode& node = *current.part.node;
        const NodeMeasure& size = measure[current.part.index];
        const int x = current.x;
        const int y = current.level;
        auto place = [&](Part part, int column, int at) {
            if (part.node)
                children.push_back({part, column, at});
        };
        // Children's measurements follow the node's in drawing order.
        const Part left{node.GetLeft(), current.part.index + 1};
        const Part right{node.GetRight(), node.GetLeft() ? left.index + measure[left.index].size
                                                         : current.part.index + 1};
        m_canvas.MarkUsed(y);
        switch (node.GetOp()) {
            case ' ':
                m_canvas.Write(x, y, node.GetText());
                break;
            case '(': {
                const std::string& name = node.GetName();
                m_canvas.Write(x, y, name);
                int column = x + static_cast<int>(name.size());
                // The bars span every level the content takes.
                int low = INT_MAX;
                int high = INT_MIN;
                std::vector<Part> arguments;
                if (node.IsCall()) {
                    std::uint32_t index = current.part.index + 1;
                    for (std::size_t i = 0; const CExpNode* argument = ChildAt(node, i); ++i) {
                        arguments.push_back({argument, index});
                        low = std::min(low, measure[index].bottom);
                        high = std::max(high, measure[index].top - 1);
                        index += measure[index].size;
                    }
                } else if (left.node) {
                    arguments.push_back(left);
                    low = measure[left.index].bottom;
                    high = measure[left.index].top - 1;
                } else {
                    low = 0;
                    high = -1;
                }
                m_canvas.WriteColumn(column, y + low, y + high, '|');
                ++column;
                for (std::size_t i = 0; i < arguments.size(); ++i) {
                    place(arguments[i], column, y);
                    column += measure[arguments[i].index].width;
                    if (i + 1 < arguments.size()) {
                        m_canvas.Write(column, y, ",");
                        column += 2;
                    }
                }
                m_canvas.WriteColumn(column, y + low, y + high, '|');
                break;
            }
            case '/': {
                const Part numerator = Unwrap(left);
                const Part denominator = Unwrap(right);
                const int numeratorWidth = numerator.node ? measure[numerator.index].width : 0;
                const int denominatorWidth = denominator.node ? measure[denominator.index].width : 0;
                // The narrower part is centred, the division truncating: a
                // part one column narrower stays flush left.
                const int shift = (numeratorWidth - denominatorWidth) / 2;
                const int leftBottom = left.node ? measure[left.index].bottom : 0;
                const int rightTop = right.node ? measure[right.index].top : 0;
                place(numerator, x + 1 + std::max(-shift, 0), y + 1 - leftBottom);
                place(denominator, x + 1 + std::max(shift, 0), y - rightTop);
                m_canvas.WriteRun(x, y, size.width, '-');
                break;
            }
            case '^': {
                const NodeMeasure* base = left.node ? &measure[left.index] : nullptr;
                int column = x;
                if (base && NeedsBarsAsBase(left.node)) {
                    m_canvas.WriteColumn(column, y + base->bottom, y + base->top - 1, '|');
                    place(left, column + 1, y);
                    column += base->width + 1;
                    m_canvas.WriteColumn(column, y + base->bottom, y + base->top - 1, '|');
                    ++column;
                } else if (base) {
                    place(left, column, y);
                    column += base->width;
                }
                // The exponent's lowest level lies just above the base's highest.
                const Part exponent = Unwrap(right);
                if (exponent.node)
                    place(exponent, column, y + (base ? base->top : 0) - measure[exponent.index].bottom);
                break;
            }
            default: {
                // An operator or sign: a space, the sign and a space between
                // the operands.
                int column = x;
                if (left.node) {
                    place(left, column, y);
                    column += measure[left.index].width;
                }
                m_canvas.WriteRun(column + 1, y, 1, node.GetOp());
                place(right, column + 3, y);
                break;
            }
        }
        // Where each child goes is already settled, so their order only
        // decides how long the list of waiting parts grows.
        std::sort(children.begin(), children.end(), [&](const Placed& a, const Placed& b) {
            return measure[a.part.index].size > measure[b.part.index].size;
        });
        waiting.insert(waiting.end(), children.begin(), children.end());
        children.clear();
    }
}

std::vector<std::string> CNaturalForm::CutIntoLines(int width) {
    const int drawingWidth = m_nCursor;
    const std::vector<int> cuts = ChooseCuts(FindCutCandidates(m_canvas.Find(0), drawingWidth), drawingWidth, width);

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
    for (const auto& [s, r] : shown) textBytes += static_cast<std::size_t>(pieces[s].count);
    if (textBytes > kMaxDrawingBytes) {
        m_bTooLarge = true;
        return {};
    }
    for (std::size_t s = 1; s < perSegment.size(); ++s) perSegment[s] += perSegment[s - 1];
    std::vector<int> rowsBySegment(shown.size());
    for (const auto& [s, r] : shown) rowsBySegment[perSegment[s]++] = r;

    std::vector<std::string> lines;
    lines.reserve(shown.size() + pieces.size());
    std::size_t next = 0;
    for (std::size_t s = 0; s < pieces.size(); ++s) {
        if (s > 0)
            lines.push_back(kLineFeed);
        for (; next < perSegment[s]; ++next) {
            lines.push_back(m_canvas.Find(*topLevel - rowsBySegment[next])->Piece(pieces[s].from, pieces[s].count));
        }
    }
    return lines;
}
