// The natural-form box and the drawings it shows: it looks as the plain-text
// box it replaced, scrolls, selects and copies, keeps its place when a new
// drawing comes, and only the drawing asked for last ever shows.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <string>

#include "CalcWindowTest.h"
#include "DialogFonts.h"
#include "ExpCompute.h"
#include "ExpressionEdit.h"
#include "ExpressionTree.h"
#include "NaturalForm.h"
#include "NaturalFormDrawer.h"
#include "NaturalFormView.h"
#include "NaturalFormViewAccessible.h"
#include "UiTestSupport.h"
#include "VarTable.h"

namespace {

std::shared_ptr<const NaturalFormDrawing> DrawingOf(const std::string& text) {
    return std::make_shared<const NaturalFormDrawing>(text);
}

// `count` numbered lines: "line 0\n", "line 1\n", ...
std::string NumberedLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "line " + std::to_string(i) + "\n";
    return text;
}

std::shared_ptr<const ExpressionTree> TreeOf(const std::string& expression) {
    return ComputeExpressionTree(expression, VarTable()).tree;
}

// A box as the main window's form makes it.
class NaturalFormViewTest : public testing::Test {
  protected:
    void SetUp() override {
        InstallNaturalFormViewAccessibility();
        m_view = std::make_unique<NaturalFormView>();
        m_view->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_view->setFont(FixedPitchFont());
        m_view->resize(502, 119);
        m_view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    }

    // The middle of the character at (line, column), in the viewport.
    QPoint At(int line, int column) const {
        return m_view->CharacterRect({line, column}).center() - QPoint(1, 0);
    }

    std::unique_ptr<NaturalFormView> m_view;
};

TEST_F(NaturalFormViewTest, LooksAsThePlainTextBoxItReplaces) {
    QPlainTextEdit box;
    box.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box.setLineWrapMode(QPlainTextEdit::NoWrap);
    box.setReadOnly(true);
    box.setFont(FixedPitchFont());
    box.resize(m_view->size());
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_EQ(m_view->focusPolicy(), box.focusPolicy()) << "Tab stops as it did";
    const struct {
        std::string drawing;
        int scrolledTo;
    } cases[] = {{" 1     3\n--- + 2\n 4\n", 0}, {NumberedLines(30), 0}, {NumberedLines(30), 7}};
    for (const auto& c : cases) {
        box.setPlainText(QString::fromStdString(c.drawing).chopped(1));
        m_view->SetDrawing(DrawingOf(c.drawing));
        box.verticalScrollBar()->setValue(c.scrolledTo);
        m_view->verticalScrollBar()->setValue(c.scrolledTo);
        EXPECT_EQ(m_view->verticalScrollBar()->maximum(), box.verticalScrollBar()->maximum());
        EXPECT_EQ(m_view->Text(), box.toPlainText());
        EXPECT_EQ(m_view->grab().toImage(), box.grab().toImage()) << c.scrolledTo;
    }
}

TEST_F(NaturalFormViewTest, KeysScrollByLinesAndPagesAndANewDrawingKeepsThePlace) {
    m_view->SetDrawing(DrawingOf(NumberedLines(100)));
    const int page = m_view->verticalScrollBar()->pageStep();
    ASSERT_GT(page, 1);
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int firstLine;
    } steps[] = {
        {Qt::Key_Down, Qt::NoModifier, 1},  {Qt::Key_PageDown, Qt::NoModifier, 1 + page},
        {Qt::Key_Up, Qt::NoModifier, page}, {Qt::Key_End, Qt::ControlModifier, 100 - page},
        {Qt::Key_Home, Qt::NoModifier, 0},  {Qt::Key_PageDown, Qt::NoModifier, page},
    };
    for (const auto& step : steps) {
        QTest::keyClick(m_view.get(), step.key, step.modifiers);
        EXPECT_EQ(m_view->FirstLineShown(), step.firstLine) << step.key;
    }
    // What shows at the top is the line scrolled to.
    EXPECT_EQ(m_view->PlaceAt(At(page, 0)).line, page);

    m_view->SetDrawing(DrawingOf(NumberedLines(200)));
    EXPECT_EQ(m_view->FirstLineShown(), page) << "kept";
    m_view->SetDrawing(DrawingOf(NumberedLines(page + 2)));
    EXPECT_EQ(m_view->FirstLineShown(), 2) << "as far as the drawing reaches";
    m_view->SetDrawing(DrawingOf(" 1 \n---\n 2 \n"));
    EXPECT_EQ(m_view->FirstLineShown(), 0);
}

TEST_F(NaturalFormViewTest, TheMouseAndTheKeysSelectAndCopyAsTheBoxDid) {
    m_view->SetDrawing(DrawingOf(" 1     3\n--- + 2\n 4\n"));
    QWidget* viewport = m_view->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, At(0, 1));
    QTest::mouseMove(viewport, At(1, 5));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, At(1, 5));
    EXPECT_EQ(m_view->SelectedText(), "1     3\n--- +");

    QTest::mouseDClick(viewport, Qt::LeftButton, {}, At(1, 1));
    EXPECT_EQ(m_view->SelectedText(), "---");

    QTest::keyClick(m_view.get(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_view.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), " 1     3\n--- + 2\n 4");

    // A screen reader reads the same text, a line at a time if it likes.
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(m_view.get());
    ASSERT_NE(face, nullptr);
    QAccessibleTextInterface* text = face->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 19);
    EXPECT_EQ(text->text(0, 19), " 1     3\n--- + 2\n 4");
    int start = 0;
    int end = 0;
    EXPECT_EQ(text->textAtOffset(11, QAccessible::LineBoundary, &start, &end), "--- + 2\n");
    EXPECT_EQ(std::pair(start, end), std::pair(9, 17));
    text->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(0, 19));
}

TEST(NaturalFormDrawingTest, PlacesAndOffsetsAgreeInAsciiAndInOtherText) {
    for (const std::string text : {"ab\n\ncd\n", "\xe5\x9b\xbe\xe5\xbd\xa2\n\ncd\n"}) {
        const NaturalFormDrawing drawing(text);
        ASSERT_EQ(drawing.LineCount(), 3);
        EXPECT_EQ(drawing.CharacterCount(), 6);
        const struct {
            qsizetype offset;
            int line;
            int column;
        } places[] = {{0, 0, 0}, {2, 0, 2}, {3, 1, 0}, {4, 2, 0}, {6, 2, 2}};
        for (const auto& p : places) {
            int line = -1;
            int column = -1;
            drawing.PlaceOf(p.offset, &line, &column);
            EXPECT_EQ(std::pair(line, column), std::pair(p.line, p.column)) << p.offset;
            EXPECT_EQ(drawing.OffsetOf(p.line, p.column), p.offset);
        }
        EXPECT_EQ(drawing.TextBetween(0, 1, 2, 1), drawing.LineText(0, 1) + "\n\nc");
    }
}

TEST(NaturalFormDrawingTest, ADrawingNobodyWaitsForStops) {
    std::atomic<bool> cancelled{true};
    NaturalForm form(TreeOf("1/2+3"));
    EXPECT_EQ(NaturalFormDrawing::Draw(form, 50, "too large\n", cancelled), nullptr);
    cancelled = false;
    EXPECT_EQ(NaturalFormDrawing::Draw(form, 50, "too large\n", cancelled)->Text(),
              " 1     \n--- + 3\n 2     \n");
}

TEST(NaturalFormDrawerTest, OnlyTheDrawingAskedForLastIsDelivered) {
    // A long sum first, then small forms at once: the long one, or one in
    // between, never arrives, whether the drawings are waited for or come
    // by themselves.
    std::string sum = "1";
    for (int i = 0; i < 200000; ++i)
        sum += "+1";
    for (const bool wait : {false, true}) {
        NaturalFormDrawer drawer(50);
        QSignalSpy drawn(&drawer, &NaturalFormDrawer::Drawn);
        drawer.Draw(TreeOf(sum), "too large\n");
        drawer.Draw(TreeOf("1/3"), "too large\n");
        drawer.Draw(TreeOf("1/2"), "too large\n");
        if (wait)
            drawer.Finish();
        else
            ASSERT_TRUE(drawn.wait(10000));
        QTest::qWait(50);
        ASSERT_EQ(drawn.size(), 1) << wait;
        const auto drawing = drawn[0][0].value<std::shared_ptr<const NaturalFormDrawing>>();
        ASSERT_NE(drawing, nullptr);
        EXPECT_EQ(drawing->Text(), " 1 \n---\n 2 \n");
        EXPECT_FALSE(drawer.IsDrawing());
    }
}

// A form the parser's count already tells too large starts no drawing: its
// note comes at once. Any other is drawn on the drawer's thread.
TEST(NaturalFormDrawerTest, AFormSurelyTooLargeHasItsNoteWithoutADrawing) {
    std::string huge = "1";
    for (int i = 1; i < 3'700'000; ++i)
        huge += "+1";
    const struct {
        std::string expression;
        bool noteAtOnce;
    } cases[] = {{"1/2", false}, {std::move(huge), true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expression.size());
        NaturalFormDrawer drawer(50);
        QSignalSpy drawn(&drawer, &NaturalFormDrawer::Drawn);
        drawer.Draw(TreeOf(c.expression), "too large\n");
        EXPECT_EQ(drawer.IsDrawing(), !c.noteAtOnce);
        EXPECT_EQ(drawn.size(), c.noteAtOnce ? 1 : 0);
        drawer.Finish();
        ASSERT_EQ(drawn.size(), 1);
        const auto drawing = drawn[0][0].value<std::shared_ptr<const NaturalFormDrawing>>();
        ASSERT_NE(drawing, nullptr);
        EXPECT_EQ(drawing->Text() == "too large\n", c.noteAtOnce);
    }
}

class NaturalFormWindowTest : public CalcWindowTest {
  protected:
    NaturalFormView* Natural() const {
        return ControlNamed<NaturalFormView>(m_window.get(), "naturalBox");
    }
    void Compute(const QString& expression) {
        auto* box = ControlNamed<ExpressionEdit>(m_window.get(), "expressionEdit");
        box->setText(expression);
        QTest::keyClick(box, Qt::Key_Return);
    }
};

TEST_F(NaturalFormWindowTest, TheFullWindowShowsWhatWasComputedInTheCompactOne) {
    Compute("1/4+2^3");
    QTest::mouseClick(ControlNamed(m_window.get(), "modeButton"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([this] { return Natural()->Drawing() != nullptr; }, 5000));
    EXPECT_EQ(Natural()->Text(), " 1     3\n--- + 2 \n 4      ");

    // In the full window each computation and each form asked for replaces
    // the drawing, the last one asked for winning.
    Compute("1/2");
    m_window->ShowNaturalFormOf(TreeOf("1/3"));
    m_window->ShowNaturalFormOf(TreeOf("1/5"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return Natural()->Text().endsWith(" 5 "); }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(m_window->NaturalText(), " 1 \n---\n 5 \n");
}

}  // namespace
