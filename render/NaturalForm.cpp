#include "NaturalForm.h"

#include <utility>

#include "NaturalDrawing.h"
#include "NaturalLayout.h"
#include "NaturalMeasure.h"

namespace {

// What a line returned in a vector takes besides its text.
constexpr std::size_t kLineOverhead = sizeof(std::string);

}  // namespace

NaturalForm::NaturalForm(const ExpressionTree* tree)
    : m_root(tree ? std::make_unique<ExpressionTree>(*tree) : nullptr) {}

NaturalForm::NaturalForm(std::unique_ptr<ExpressionTree> tree) : m_root(std::move(tree)) {}

NaturalForm::NaturalForm(std::shared_ptr<const ExpressionTree> tree) : m_root(std::move(tree)) {}

NaturalForm::~NaturalForm() = default;

std::vector<std::string> NaturalForm::Render(int width) {
    std::vector<std::string> lines;
    m_tooLarge = false;
    if (!m_root)
        return lines;
    NaturalDrawing drawing(kMaxDrawingBytes, kLineOverhead);
    m_tooLarge = !drawing.Plan(*m_root, width) ||
                 !drawing.Draw([&lines](std::string_view line) { lines.emplace_back(line); });
    if (m_tooLarge)
        lines.clear();
    return lines;
}

bool NaturalForm::DrawLines(int width, std::size_t heldBytesPerLine,
                            const std::function<void(std::string_view)>& line) {
    m_tooLarge = false;
    if (!m_root)
        return true;
    NaturalDrawing drawing(kMaxDrawingBytes, heldBytesPerLine);
    m_tooLarge = !drawing.Plan(*m_root, width) || !drawing.Draw(line);
    return !m_tooLarge;
}

bool NaturalForm::Draw(const ExpressionTree& tree, int width, const LineSink& line) {
    NaturalDrawing drawing(kMaxDrawingBytes, 0);
    return drawing.Plan(tree, width) && drawing.Draw(line);
}

bool NaturalForm::IsSurelyTooLarge(const ExpressionTree& tree) {
    // What the drawing charges at the least before it refuses: the
    // bookkeeping of every node; a byte for each cell that the text and
    // the operators take, all of them in the rows it plans; and the cut
    // candidates along the baseline, two ints a column, which the
    // operators of the whole sum span.
    const ExpressionTree::DrawnAtLeast& drawn = tree.Drawn();
    const std::uint64_t baselineColumns =
        drawn.baselineOperators > 0 ? 4 * (drawn.baselineOperators - 1) + 1 : 0;
    const std::uint64_t least =
        std::uint64_t{tree.Size()} * (sizeof(NodeMeasure) + NaturalLayout::kBytesPerNode) +
        drawn.textCells + drawn.operatorCells + 2 * (baselineColumns + 1) * sizeof(int);
    return least > kMaxDrawingBytes;
}
