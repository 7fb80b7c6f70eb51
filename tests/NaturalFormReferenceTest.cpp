// The natural form against a reference drawn the plain way: recursion, a
// fixed canvas of 100 rows by 2048 columns, fraction parts drawn flush left
// and then shifted right, extents measured afresh wherever they are needed.
// The renderer places every part where it ends up in one pass instead; on
// any drawing that fits the fixed canvas both must agree to the character.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "ExpNode.h"
#include "ExpParser.h"
#include "NaturalForm.h"

namespace {

class ReferenceForm {
  public:
    static constexpr int kRows = 100;
    static constexpr int kColumns = 2048;
    static constexpr int kBaselineRow = 50;

    // The lines, or none when the drawing leaves the fixed canvas.
    std::optional<std::vector<std::string>> Render(ExpNode root, int width) {
        for (auto& row : m_canvas)
            row.fill(' ');
        m_used.fill(false);
        m_cursor = 0;
        m_outside = false;
        Layout(0, root);
        const int w = m_cursor;
        if (m_outside || w >= kColumns)
            return std::nullopt;
        for (auto& row : m_canvas)
            row[static_cast<std::size_t>(w)] = '\0';

        const std::string_view baseline(m_canvas[kBaselineRow].data(), kColumns);
        std::vector<int> candidates;
        for (int x = 0; x < w; ++x) {
            const char c = baseline[static_cast<std::size_t>(x)];
            if ((c == '+' || c == '-' || c == '*') &&
                (x == 0 || baseline[static_cast<std::size_t>(x) - 1] == ' ') &&
                baseline[static_cast<std::size_t>(x) + 1] == ' ')
                candidates.push_back(x);
        }
        candidates.push_back(w);

        std::vector<int> cuts;
        int b = 0;
        int c = -1;
        for (std::size_t i = 0; i < candidates.size();) {
            const int d = candidates[i];
            if (d - b < width) {
                c = d;
                ++i;
            } else if (c < 0 || d == w || d - b == width) {
                cuts.push_back(d);
                b = d;
                c = -1;
                ++i;
            } else {
                cuts.push_back(c);
                b = c;
                c = -1;
            }
        }
        if (b != w)
            cuts.push_back(w);

        int first = 0;
        while (first < kRows && !m_used[static_cast<std::size_t>(first)])
            ++first;
        const auto n = static_cast<int>(std::count(m_used.begin(), m_used.end(), true));
        std::vector<std::string> lines;
        int p = 0;
        for (std::size_t k = 0; k < cuts.size(); ++k) {
            const int x = cuts[k];
            if (k > 0)
                lines.emplace_back("\n");
            for (int r = first; r < first + n; ++r) {
                const std::string piece(
                    &m_canvas[static_cast<std::size_t>(r)][static_cast<std::size_t>(p)],
                    static_cast<std::size_t>(x == w ? x - p : x - p - 1));
                if (piece.find_first_not_of(' ') != std::string::npos)
                    lines.push_back(piece);
            }
            p = x;
        }
        return lines;
    }

  private:
    static bool IsPlain(ExpNode node) {
        return node && node.GetOp() == '(' && node.GetName().empty();
    }
    static ExpNode Unwrap(ExpNode node) { return IsPlain(node) ? node.GetLeft() : node; }

    static int Top(ExpNode node) {
        switch (node.GetOp()) {
            case '(':
                if (node.IsCall()) {
                    int top = 0;
                    for (const auto& argument : node.GetArgs())
                        top = std::max(top, Top(argument));
                    return top;
                }
                return Top(node.GetLeft());
            case '*':
            case '+':
            case '-':
                if (!node.GetLeft())
                    return Top(node.GetRight());
                return std::max(Top(node.GetLeft()), Top(node.GetRight()));
            case '/':
                return Top(node.GetLeft()) - Bottom(node.GetLeft()) + 1;
            case '^':
                return Top(node.GetLeft()) + Top(node.GetRight()) - Bottom(node.GetRight());
            default:
                return 1;
        }
    }

    static int Bottom(ExpNode node) {
        switch (node.GetOp()) {
            case '(':
                if (node.IsCall()) {
                    int bottom = 10000;
                    for (const auto& argument : node.GetArgs())
                        bottom = std::min(bottom, Bottom(argument));
                    return bottom;
                }
                return Bottom(node.GetLeft());
            case '*':
            case '+':
            case '-':
                if (!node.GetLeft())
                    return Bottom(node.GetRight());
                return std::min(Bottom(node.GetLeft()), Bottom(node.GetRight()));
            case '/':
                return Bottom(node.GetRight()) - Top(node.GetRight());
            case '^':
                return Bottom(node.GetLeft());
            default:
                return 0;
        }
    }

    void Put(int level, int column, char c) {
        const int row = kBaselineRow - level;
        if (row < 0 || row >= kRows || column < 0 || column >= kColumns) {
            m_outside = true;
            return;
        }
        m_canvas[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = c;
    }

    void PutText(int level, const std::string& text) {
        for (const char c : text)
            Put(level, m_cursor++, c);
    }

    void ShiftRight(int rowFrom, int rowTo, int colFrom, int colTo, int k) {
        for (int r = std::max(rowFrom, 0); r < std::min(rowTo, kRows); ++r) {
            if (!m_used[static_cast<std::size_t>(r)])
                continue;
            auto& row = m_canvas[static_cast<std::size_t>(r)];
            if (colTo + k > kColumns) {
                m_outside = true;
                return;
            }
            for (int col = colTo - 1; col >= colFrom; --col)
                row[static_cast<std::size_t>(col + k)] = row[static_cast<std::size_t>(col)];
            for (int col = colFrom; col < colFrom + k; ++col)
                row[static_cast<std::size_t>(col)] = ' ';
        }
    }

    void Bracket(int level, const std::string& name, const std::vector<ExpNode>& contents) {
        PutText(level, name);
        int c = 10000;
        int o = -10000;
        for (ExpNode content : contents) {
            c = std::min(c, Bottom(content));
            o = std::max(o, Top(content) - 1);
        }
        for (int l = level + c; l <= level + o; ++l)
            Put(l, m_cursor, '|');
        ++m_cursor;
        for (std::size_t i = 0; i < contents.size(); ++i) {
            Layout(level, contents[i]);
            if (i + 1 < contents.size()) {
                Put(level, m_cursor, ',');
                m_cursor += 2;
            }
        }
        for (int l = level + c; l <= level + o; ++l)
            Put(l, m_cursor, '|');
        ++m_cursor;
    }

    void Layout(int level, ExpNode node) {
        while (node) {
            if (kBaselineRow - level < 0 || kBaselineRow - level >= kRows) {
                m_outside = true;
                return;
            }
            m_used[static_cast<std::size_t>(kBaselineRow - level)] = true;
            switch (node.GetOp()) {
                case ' ':
                    PutText(level, std::string(node.GetText()));
                    return;
                case '/': {
                    const int m = m_cursor;
                    m_cursor = m + 1;
                    ExpNode numerator = Unwrap(node.GetLeft());
                    ExpNode denominator = Unwrap(node.GetRight());
                    Layout(level + 1 - Bottom(node.GetLeft()), numerator);
                    const int l = m_cursor;
                    m_cursor = m + 1;
                    Layout(level - Top(node.GetRight()), denominator);
                    const int h = m_cursor;
                    m_cursor = m;
                    const int f = (l - h) / 2;
                    const int row = kBaselineRow - level;
                    if (f > 0) {
                        const int height = Top(denominator) - Bottom(denominator);
                        ShiftRight(row + 1, row + 1 + height, m, h, f);
                    } else if (f < 0) {
                        const int height = Top(numerator) - Bottom(numerator);
                        ShiftRight(row - height, row, m, l, -f);
                    }
                    for (int x = m; x <= std::max(l, h); ++x)
                        Put(level, x, '-');
                    m_cursor = std::max(l, h) + 1;
                    return;
                }
                case '^': {
                    ExpNode base = node.GetLeft();
                    if (base.GetOp() == '*' || base.GetOp() == '^')
                        Bracket(level, "", {base});
                    else
                        Layout(level, base);
                    ExpNode exponent = Unwrap(node.GetRight());
                    level += Top(base) - Bottom(exponent);
                    node = exponent;
                    continue;
                }
                case '(': {
                    std::vector<ExpNode> contents;
                    if (node.IsCall()) {
                        for (const auto& argument : node.GetArgs())
                            contents.push_back(argument);
                    } else {
                        contents.push_back(node.GetLeft());
                    }
                    Bracket(level, std::string(node.GetName()), contents);
                    return;
                }
                default:
                    Layout(level, node.GetLeft());
                    ++m_cursor;
                    Put(level, m_cursor, node.GetOp());
                    m_cursor += 2;
                    node = node.GetRight();
                    continue;
            }
        }
    }

    std::array<std::array<char, kColumns>, kRows> m_canvas{};
    std::array<bool, kRows> m_used{};
    int m_cursor = 0;
    bool m_outside = false;
};

// Random expressions of the language: numbers with and without exponents,
// names, the five operators, signs, parentheses and calls of one or two
// arguments.
class ExpressionMaker {
  public:
    explicit ExpressionMaker(unsigned seed) : m_random(seed) {}

    std::string Make() { return Sum(0); }

  private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    std::string Sum(int depth) {
        std::string text = Pick(6) == 0 ? std::string("-") + Term(depth) : Term(depth);
        for (int terms = Pick(depth < 1 ? 4 : 2); terms > 0; --terms) {
            text += Pick(2) ? '+' : '-';
            text += Term(depth);
        }
        return text;
    }

    std::string Term(int depth) {
        std::string text = Power(depth);
        for (int factors = Pick(depth < 2 ? 3 : 2); factors > 0; --factors) {
            text += Pick(2) ? '*' : '/';
            text += Power(depth);
        }
        return text;
    }

    std::string Power(int depth) {
        std::string text = Factor(depth);
        for (int exponents = Pick(4) == 0 ? 1 + Pick(2) : 0; exponents > 0; --exponents) {
            text += '^';
            text += Factor(depth);
        }
        return text;
    }

    std::string Factor(int depth) {
        const int choice = depth >= 3 ? Pick(3) : Pick(7);
        switch (choice) {
            case 0: {
                static const char* const kNumbers[] = {"1",     "23",  "456",    "7.5",   ".25",
                                                       "12345", "1e3", "2.5E-2", "1e+10", "3e-+-4"};
                return kNumbers[Pick(10)];
            }
            case 1:
                return Pick(2) ? "x" : "value_2";
            case 2:
                return std::to_string(Pick(100));
            case 3:
            case 4:
                return std::string("(") + Sum(depth + 1) + ")";
            case 5:
                return std::string(Pick(2) ? "sin(" : "abs(") + Sum(depth + 1) + ")";
            default:
                return std::string("log(") + Sum(depth + 1) + "," + Sum(depth + 1) + ")";
        }
    }

    std::mt19937 m_random;
};

TEST(NaturalFormReference, RandomExpressionsDrawAsThePlainWayDrawsThem) {
    ReferenceForm reference;
    ExpressionMaker maker(20261207);
    int compared = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string text = maker.Make();
        const std::unique_ptr<ExpressionTree> tree = ExpParser(text).Parse();
        NaturalForm naturalForm(tree.get());
        for (const int width : {50, 12, 3}) {
            const auto expected = reference.Render(RootNode(*tree), width);
            if (!expected)
                continue;
            ++compared;
            ASSERT_EQ(naturalForm.Render(width), *expected) << text << " @ " << width;
        }
    }
    // Most drawings fit the fixed canvas; the comparison must not pass empty.
    EXPECT_GT(compared, 6000);
}

}  // namespace
