#include "NaturalForm.h"

#include <utility>

#include "NaturalDrawing.h"

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
