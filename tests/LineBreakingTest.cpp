#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LineBreaking.h"
#include "NaturalCanvas.h"

namespace {

constexpr int kLineWidth = 50;

struct CutCase {
    const char* what;
    std::vector<int> candidates;  // ends with the drawing's width
    int lineWidth;
    std::vector<int> cuts;
};

// How the candidates of a drawing become cuts. The drawing's width is the
// last candidate.
const CutCase kCuts[] = {
    {"a drawing that fits is not cut", {2, 6, 9}, kLineWidth, {9}},
    {"the last fitting operator takes the cut (1 + ... + 20)",
     {2, 6, 10, 14, 18, 22, 26, 30, 34, 39, 44, 49, 54, 59, 64, 69, 74, 79, 84, 88},
     kLineWidth,
     {49, 88}},
    {"an operator exactly a line width on is cut itself", {2, 50, 53}, kLineWidth, {50, 53}},
    {"... measured from the start of its segment", {10, 49, 99, 120}, kLineWidth, {49, 99, 120}},
    {"when the end is the first misfit the rest is one segment", {2, 49, 54}, kLineWidth, {54}},
    {"... also after earlier cuts", {30, 60, 85, 120}, kLineWidth, {30, 60, 120}},
    {"a drawing exactly a line wide is one segment", {2, 50}, kLineWidth, {50}},
    {"a wide stretch without operator is a segment of its own",
     {2, 65, 68},
     kLineWidth,
     {2, 65, 68}},
    {"... also at the start", {70, 75}, kLineWidth, {70, 75}},
    {"... and a drawing without operator is not cut", {80}, kLineWidth, {80}},
    {"a leading minus leaves an empty first segment", {1, 64, 67}, kLineWidth, {1, 64, 67}},
    {"width 1 cuts at every operator", {2, 6, 9}, 1, {2, 6, 9}},
    {"an empty drawing has no cut", {0}, kLineWidth, {}},
};

TEST(LineBreaking, CutsFollowTheTieBreaks) {
    for (const auto& c : kCuts) {
        EXPECT_EQ(ChooseCuts(c.candidates, c.candidates.back(), c.lineWidth), c.cuts) << c.what;
    }
}

struct CandidateCase {
    const char* what;
    int column;  // where the baseline text starts
    const char* baseline;
    int drawingWidth;
    std::vector<int> candidates;
};

const CandidateCase kCandidates[] = {
    {"fraction rules are never candidates", 0, "--- + ---", 9, {4, 9}},
    {"'*' is a candidate, '/' and '^' are not", 0, "2 * 3 / 4 ^ 5", 13, {2, 13}},
    {"an operator needs a space on both sides", 0, "1+2 -3", 6, {6}},
    {"a sign at column 0 needs only the space after it", 0, "- 5", 3, {0, 3}},
    {"the cell after the drawing's end is no space", 0, "1 +", 3, {3}},
    {"unwritten cells before the row's text are spaces", 5, "+ 1", 8, {5, 8}},
};

TEST(LineBreaking, CandidatesAreOperatorsBetweenSpaces) {
    for (const auto& c : kCandidates) {
        NaturalCanvas canvas(1 << 20);
        canvas.Write(c.column, 0, c.baseline);
        EXPECT_EQ(FindCutCandidates(canvas.Find(0), c.drawingWidth), c.candidates) << c.what;
    }
}

TEST(LineBreaking, AnEmptyBaselineHasOnlyTheEnd) {
    NaturalCanvas canvas(1 << 20);
    EXPECT_EQ(FindCutCandidates(canvas.Find(0), 0), std::vector<int>{0});
}

}  // namespace
