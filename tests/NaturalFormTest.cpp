#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ExpException.h"
#include "ExpNode.h"
#include "ExpParser.h"
#include "NaturalForm.h"
#include "NaturalMeasure.h"

#ifndef TALLYFERN_TEST_DATA_DIR
#error \
    "TALLYFERN_TEST_DATA_DIR must name the directory of the golden pictures (see tests/CMakeLists.txt)"
#endif

namespace {

constexpr int kLineWidth = 50;
const std::string kLineFeed(1, '\n');
const char* const kGoldenFile = TALLYFERN_TEST_DATA_DIR "/natural_form.txt";

// One picture of the golden file. A case that could not be read carries the
// reason instead, so that the failure shows up as a test of its own.
struct GoldenCase {
    int line = 0;  // of the "> " line
    std::string expression;
    int width = kLineWidth;
    std::vector<std::string> lines;
    std::string problem;
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << "line " << c.line << ": " << c.expression << " @ " << c.width;
}

std::vector<GoldenCase> ReadGoldenFile() {
    std::ifstream in(kGoldenFile);
    if (!in)
        return {{0, "", kLineWidth, {}, std::string("cannot open ") + kGoldenFile}};
    std::vector<GoldenCase> cases;
    GoldenCase* open = nullptr;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (text.empty()) {
            open = nullptr;
        } else if (text[0] == '#' && open == nullptr) {
            continue;
        } else if (text.rfind("> ", 0) == 0) {
            GoldenCase& c = cases.emplace_back();
            c.line = number;
            c.expression = text.substr(2);
            const std::size_t at = c.expression.find(" @ ");
            if (at != std::string::npos) {
                c.width = std::stoi(c.expression.substr(at + 3));
                c.expression.erase(at);
            }
            open = &c;
        } else if (open == nullptr || text.back() != '$') {
            cases.push_back(
                {number, text, kLineWidth, {}, "a picture line outside a case or without its '$'"});
        } else {
            text.pop_back();
            open->lines.push_back(text.empty() ? kLineFeed : text);
        }
    }
    if (cases.empty())
        cases.push_back({0, "", kLineWidth, {}, std::string("no pictures in ") + kGoldenFile});
    return cases;
}

// Lines as the golden file writes them, for a failure message.
std::string AsGolden(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += (line == kLineFeed ? "" : line) + "$\n";
    return text;
}

std::unique_ptr<ExpressionTree> Parse(const std::string& expression) {
    return ExpParser(expression).Parse();
}

class NaturalFormGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(NaturalFormGolden, DrawsThePictureWorkedOutByHand) {
    const GoldenCase& c = GetParam();
    ASSERT_TRUE(c.problem.empty()) << kGoldenFile << ":" << c.line << ": " << c.problem;
    std::unique_ptr<ExpressionTree> tree;
    try {
        tree = Parse(c.expression);
    } catch (const ExpException& e) {
        FAIL() << c.expression << " does not parse: " << e.GetErrorText();
    }
    const std::vector<std::string> actual = NaturalForm(tree.get()).Render(c.width);
    EXPECT_EQ(actual, c.lines) << kGoldenFile << ":" << c.line << ": " << c.expression << " @ "
                               << c.width << "\nexpected:\n"
                               << AsGolden(c.lines) << "actual:\n"
                               << AsGolden(actual);
}

INSTANTIATE_TEST_SUITE_P(Pictures, NaturalFormGolden, testing::ValuesIn(ReadGoldenFile()),
                         [](const testing::TestParamInfo<GoldenCase>& info) {
                             return "Line" + std::to_string(info.param.line);
                         });

struct ExtentCase {
    const char* expression;
    int top;  // exclusive
    int bottom;
};

// The levels a drawing takes, which place numerators, denominators,
// exponents and bars.
const ExtentCase kExtents[] = {
    {"x", 1, 0},         {"1/2", 2, -1},
    {"-1/2", 2, -1},                      // a sign takes its operand's rows
    {"x^2", 2, 0},       {"1e-3", 2, 0},  // a product is as high as its highest operand
    {"2^3^4", 3, 0},                      // the exponent sits above the whole base
    {"(1/2)^3", 3, -1},                   // ... and keeps the base's bottom
    {"x^(1/2)", 4, 0},                    // a fraction as exponent is raised clear of the base
    {"(1/2)/3", 4, -1},                   // a numerator stands above the rule as a whole
    {"1/(2/3)", 2, -3},                   // ... and a denominator below it
    {"sin(1/2)", 2, -1}, {"log(x^2,1/2)", 2, -1},  // the highest and the lowest argument
    {"1+2/3", 2, -1},
};

TEST(NaturalMeasure, ExtentsSpanTheLevelsOfTheDrawing) {
    for (const auto& c : kExtents) {
        const auto tree = Parse(c.expression);
        EXPECT_EQ(TopExtent(RootNode(*tree)), c.top) << c.expression;
        EXPECT_EQ(BottomExtent(RootNode(*tree)), c.bottom) << c.expression;
    }
}

TEST(NaturalForm, RenderKeepsNothingFromAnEarlierCall) {
    const auto tree = Parse("1/2+3/4");
    const std::vector<std::string> narrow = {" 1 ",   "---",   " 2 ",  kLineFeed,
                                             "   3 ", "+ ---", "   4 "};
    const std::vector<std::string> wide = {" 1     3 ", "--- + ---", " 2     4 "};
    NaturalForm form(tree.get());
    EXPECT_EQ(form.Render(4), narrow);
    EXPECT_EQ(form.Render(4), narrow);
    EXPECT_EQ(form.Render(kLineWidth), wide);
    EXPECT_EQ(form.Render(4), narrow);
}

TEST(NaturalForm, DrawsItsOwnCopyOfTheCallersTree) {
    const std::vector<std::string> picture = {"     2 ", "1 + ---", "     3 "};
    auto tree = Parse("1+2/3");
    NaturalForm copied(tree.get());
    tree.reset();  // the caller's tree is gone before the drawing
    EXPECT_EQ(copied.Render(kLineWidth), picture);

    NaturalForm taken(Parse("1+2/3"));
    EXPECT_EQ(taken.Render(kLineWidth), picture);
}

TEST(NaturalForm, NoTreeDrawsNoLines) {
    NaturalForm copied(static_cast<const ExpressionTree*>(nullptr));
    EXPECT_TRUE(copied.Render(kLineWidth).empty());
    EXPECT_FALSE(copied.IsTooLarge());
    NaturalForm taken(std::unique_ptr<ExpressionTree>{});
    EXPECT_TRUE(taken.Render(kLineWidth).empty());
}

// What the parser counted tells a drawing too large to make as the drawing
// itself does, without measuring the tree; where it cannot tell, the drawing
// is made.
TEST(NaturalForm, TheParsersCountTellsATooLargeDrawingAtOnce) {
    auto sum = [](int terms, std::string_view term) {
        std::string text(term);
        for (int i = 1; i < terms; ++i)
            (text += '+') += term;
        return text;
    };
    struct Case {
        std::string text;
        bool tooLarge;
    };
    const Case cases[] = {
        {"-(1.5e-3*x)/(2+sin(y))", false},
        {sum(100'000, "12.5*x"), false},
        {sum(3'700'000, "1"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 30));
        const std::unique_ptr<ExpressionTree> tree = ExpParser(c.text).Parse();
        EXPECT_EQ(NaturalForm::IsSurelyTooLarge(*tree), c.tooLarge);
        EXPECT_EQ(NaturalForm::Draw(*tree, kLineWidth, [](std::string_view) {}), !c.tooLarge);
    }
}

}  // namespace
