// What a screen reader reads of the expression box and the natural-form box
// by character, word, sentence, line, paragraph or the whole, at, before and
// after every offset: the end of the text included, where a reader asks
// for the word or line the caret is after, and every character to the last.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QStringList>
#include <memory>
#include <string>
#include <utility>

#include "ExpressionEdit.h"
#include "ExpressionEditAccessible.h"
#include "NaturalFormDrawing.h"
#include "NaturalFormView.h"
#include "NaturalFormViewAccessible.h"

namespace {

struct PieceCase {
    const char* text;  // the box's text; a drawing's lines joined by "\n"
    QAccessible::TextBoundaryType boundary;
    // What is read at, before and after offset 0, 1, ... and the end, "|"
    // between two offsets.
    const char* at;
    const char* before;
    const char* after;
};

const PieceCase kLineCases[] = {
    {"12+3.5", QAccessible::CharBoundary, "1|2|+|3|.|5|", "|1|2|+|3|.|5", "2|+|3|.|5||"},
    {"12+3.5", QAccessible::WordBoundary, "12|12|+|3.5|3.5|3.5|3.5", "||12|+|+|+|+", "+|+|3.5||||"},
    {"1 + 2", QAccessible::WordBoundary, "1| + | + | + |2|2", "|1|1|1| + | + ", " + |2|2|2||"},
    {"1+2", QAccessible::SentenceBoundary, "1+2|1+2|1+2|1+2", "|||", "|||"},
    {"1+2", QAccessible::LineBoundary, "1+2|1+2|1+2|1+2", "|||", "|||"},
    {"1+2", QAccessible::ParagraphBoundary, "1+2|1+2|1+2|1+2", "|||", "|||"},
    {"1+2", QAccessible::NoBoundary, "1+2|1+2|1+2|1+2", "|||", "|||"},
    {"", QAccessible::CharBoundary, "", "", ""},
    {"", QAccessible::WordBoundary, "", "", ""},
    {"", QAccessible::LineBoundary, "", "", ""},
};

// The natural-form box holds lines; a reader asks of it a line at a time.
const PieceCase kDrawingCases[] = {
    {" 1\n---\n 4", QAccessible::LineBoundary, " 1\n| 1\n| 1\n|---\n|---\n|---\n|---\n| 4| 4| 4",
     "||| 1\n| 1\n| 1\n| 1\n|---\n|---\n|---\n", "---\n|---\n|---\n| 4| 4| 4| 4|||"},
    {"1\n2\n3\n4", QAccessible::LineBoundary, "1\n|1\n|2\n|2\n|3\n|3\n|4|4",
     "||1\n|1\n|2\n|2\n|3\n|3\n", "2\n|2\n|3\n|3\n|4|4||"},
    {"1\n2\n3\n4", QAccessible::WordBoundary, "1|\n|2|\n|3|\n|4|4", "|1|\n|2|\n|3|\n|\n",
     "\n|2|\n|3|\n|4||"},
    {"1 + 2", QAccessible::WordBoundary, "1| + | + | + |2|2", "|1|1|1| + | + ", " + |2|2|2||"},
    {"1 + 2", QAccessible::CharBoundary, "1| |+| |2|", "|1| |+| |2", " |+| |2||"},
    {"1\n2", QAccessible::SentenceBoundary, "1\n|1\n|2|2", "||1\n|1\n", "2|2||"},
    {"1\n2", QAccessible::NoBoundary, "1\n2|1\n2|1\n2|1\n2", "|||", "|||"},
    {"", QAccessible::WordBoundary, "", "", ""},
};

// Reads every offset of the box `face` shows `text` in, as `c` says.
void ExpectPieces(QAccessibleTextInterface* face, const QString& text, const PieceCase& c,
                  const char* box) {
    const struct {
        const char* name;
        const char* expected;
        QString (QAccessibleTextInterface::*read)(int, QAccessible::TextBoundaryType, int*,
                                                  int*) const;
    } reads[] = {
        {"at", c.at, &QAccessibleTextInterface::textAtOffset},
        {"before", c.before, &QAccessibleTextInterface::textBeforeOffset},
        {"after", c.after, &QAccessibleTextInterface::textAfterOffset},
    };
    ASSERT_EQ(face->characterCount(), text.size()) << box;
    for (const auto& read : reads) {
        const QStringList expected = QString::fromUtf8(read.expected).split(QLatin1Char('|'));
        ASSERT_EQ(expected.size(), text.size() + 1) << box << " " << read.name << " " << c.text;
        for (int offset = 0; offset <= text.size(); ++offset) {
            int start = -2;
            int end = -2;
            const QString piece = (face->*read.read)(offset, c.boundary, &start, &end);
            const std::string where = std::string(box) + " " + read.name + " offset " +
                                      std::to_string(offset) + " of \"" + c.text + "\" by " +
                                      std::to_string(c.boundary);
            EXPECT_EQ(piece, expected[offset]) << where;
            // The range is the piece's place in the text.
            EXPECT_TRUE(start >= 0 && start <= end && end <= text.size()) << where;
            EXPECT_EQ(text.mid(start, end - start), piece) << where;
        }
    }
}

// A reader reads a line run of attributes by run of attributes: the box's
// one plain style is one run, over the whole text.
void ExpectOneRun(QAccessibleTextInterface* face, const QString& text, const char* box) {
    for (int offset = 0; offset <= text.size(); ++offset) {
        int start = -2;
        int end = -2;
        face->attributes(offset, &start, &end);
        EXPECT_EQ(std::pair(start, end), std::pair(0, static_cast<int>(text.size())))
            << box << " offset " << offset;
    }
}

TEST(AccessibleTextTest, TheExpressionBoxIsReadByPiecesAtEveryOffset) {
    InstallExpressionEditAccessibility();
    ExpressionEdit box;
    QAccessibleTextInterface* face = QAccessible::queryAccessibleInterface(&box)->textInterface();
    ASSERT_NE(face, nullptr);
    for (const PieceCase& c : kLineCases) {
        box.setText(QString::fromUtf8(c.text));
        ExpectPieces(face, box.text(), c, "expression box");
        ExpectOneRun(face, box.text(), "expression box");
    }
}

TEST(AccessibleTextTest, TheNaturalFormBoxIsReadByPiecesAtEveryOffset) {
    InstallNaturalFormViewAccessibility();
    NaturalFormView view;
    QAccessibleTextInterface* face = QAccessible::queryAccessibleInterface(&view)->textInterface();
    ASSERT_NE(face, nullptr);
    const auto check = [&](const PieceCase& c) {
        const std::string text = c.text;
        // An empty drawing has no line at all.
        view.SetDrawing(text.empty() ? nullptr
                                     : std::make_shared<const NaturalFormDrawing>(text + "\n"));
        ExpectPieces(face, QString::fromUtf8(c.text), c, "natural form");
        ExpectOneRun(face, QString::fromUtf8(c.text), "natural form");
    };
    for (const PieceCase& c : kLineCases)
        check(c);
    for (const PieceCase& c : kDrawingCases)
        check(c);
}

}  // namespace
