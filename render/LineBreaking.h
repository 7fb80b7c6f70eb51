#pragma once

#include <vector>

#include "NaturalCanvas.h"

// Where a natural-form drawing of `drawingWidth` columns may be cut: the
// columns of the baseline row that hold '+', '-' or '*' with a space (or the
// left edge) before and a space after, so only operators written on the
// main baseline qualify, never a fraction rule. The list ends with the
// drawing's width.
std::vector<int> FindCutCandidates(const NaturalCanvas::Row* baseline, int drawingWidth);

// The columns at which to cut so that segments stay within lineWidth
// columns where the candidates allow it. Ascending; ends with the drawing's
// width unless that is 0.
std::vector<int> ChooseCuts(const std::vector<int>& candidates, int drawingWidth, int lineWidth);
