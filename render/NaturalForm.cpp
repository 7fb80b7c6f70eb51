#include "NaturalForm.h"

#include <utility>

#include "NaturalDrawing.h"

namespace {

// What a line returned in a vector takes besides its text.
constexpr std::size_t kLineOverhead = sizeof(std::string);

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
    NaturalDrawing drawing(kMaxDrawingBytes, kLineOverhead);
    m_bTooLarge = !drawing.Plan(*m_pRoot, width) ||
                  !drawing.Draw([&lines](std::string_view line) { lines.emplace_back(line); });
    if (m_bTooLarge)
        lines.clear();
    return lines;
}

bool CNaturalForm::Draw(const ExpressionTree& tree, int width, const LineSink& line) {
    NaturalDrawing drawing(kMaxDrawingBytes, 0);
    return drawing.Plan(tree, width) && drawing.Draw(line);
}
