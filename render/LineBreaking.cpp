#include "LineBreaking.h"

#include <algorithm>

std::vector<int> FindCutCandidates(const NaturalCanvas::Row* baseline, int drawingWidth) {
    std::vector<int> candidates;
    if (baseline && !baseline->IsEmpty()) {
        // Rows end at the drawing's width: the cell there reads as NUL, not
        // as a space.
        auto cell = [&](int column) { return column < drawingWidth ? baseline->At(column) : '\0'; };
        const int end = std::min(baseline->EndColumn(), drawingWidth);
        for (int x = std::max(baseline->FirstColumn(), 0); x < end; ++x) {
            const char c = cell(x);
            if ((c == '+' || c == '-' || c == '*') && (x == 0 || cell(x - 1) == ' ') &&
                cell(x + 1) == ' ')
                candidates.push_back(x);
        }
    }
    candidates.push_back(drawingWidth);
    return candidates;
}

std::vector<int> ChooseCuts(const std::vector<int>& candidates, int drawingWidth, int lineWidth) {
    std::vector<int> cuts;
    constexpr int kNone = -1;
    int start = 0;            // where the current segment begins
    int lastFitting = kNone;  // the last candidate that still fits in it
    for (std::size_t i = 0; i < candidates.size();) {
        const int d = candidates[i];
        if (d - start < lineWidth) {
            lastFitting = d;
            ++i;
        } else if (lastFitting == kNone || d == drawingWidth || d - start == lineWidth) {
            // Nothing fits, the end is reached, or the operator stands exactly
            // one line width on: cut at this candidate itself.
            cuts.push_back(d);
            start = d;
            lastFitting = kNone;
            ++i;
        } else {
            // Cut at the last operator that fits and look at d again.
            cuts.push_back(lastFitting);
            start = lastFitting;
            lastFitting = kNone;
        }
    }
    if (start != drawingWidth)
        cuts.push_back(drawingWidth);
    return cuts;
}
