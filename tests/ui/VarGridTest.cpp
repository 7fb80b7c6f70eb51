// The variable grid end to end: rows added, edited in place and deleted
// with real clicks and keys, each edit checked, and the variables used by
// the next computation.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <memory>

#include "CalcDlg.h"
#include "CalcWindowTest.h"
#include "CellEdit.h"
#include "ExpressionEdit.h"
#include "UiTestSupport.h"
#include "VarListCtrl.h"

namespace {

const QString kPlaceholder = QStringLiteral("请输入变量名");

class VarGridTest : public CalcWindowTest {
  protected:
    void SetUp() override {
        CalcWindowTest::SetUp();
        QTest::mouseClick(ControlNamed(m_window.get(), "modeButton"), Qt::LeftButton);  // full size
    }

    VarListCtrl* Grid() const { return ControlNamed<VarListCtrl>(m_window.get(), "variableGrid"); }
    ExpressionEdit* Expr() const {
        return ControlNamed<ExpressionEdit>(m_window.get(), "expressionEdit");
    }
    QString Result() const { return ControlNamed<QLineEdit>(m_window.get(), "resultBox")->text(); }
    QString Cell(int row, int column) const { return Grid()->GetItemText(row, column); }

    // The open editor, once the ones that have ended are gone.
    CellEdit* Editor() const {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return Grid()->findChild<CellEdit*>("cellEdit");
    }

    void ClickButton(const char* id) {
        QTest::mouseClick(ControlNamed(m_window.get(), id), Qt::LeftButton);
    }

    QPoint CellCentre(int row, int column) const {
        return Grid()->visualRect(Grid()->model()->index(row, column)).center();
    }
    void ClickCell(int row, int column, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, modifiers, CellCentre(row, column));
    }

    // A click on a row's name, and after a pause another, which starts
    // editing the name; true when an editor opened.
    bool ClickNameTwice(int row) {
        ClickCell(row, 0);
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        EXPECT_EQ(Editor(), nullptr);
        ClickCell(row, 0);
        return QTest::qWaitFor([this] { return Editor() != nullptr; }, 2000);
    }

    // Replaces the editor's selected text with `text` and ends with `key`.
    void TypeIntoEditor(const QString& text, Qt::Key key = Qt::Key_Return) {
        CellEdit* editor = Editor();
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_Backspace);
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClicks(editor, QString(c));
            } else {
                // Chinese comes from an input method, not from key events.
                QInputMethodEvent commit;
                commit.setCommitString(QString(c));
                QApplication::sendEvent(editor, &commit);
            }
        }
        QTest::keyClick(editor, key);
    }

    // A new row named `name` with the value `value`, both typed.
    void AddVariable(const QString& name, const QString& value) {
        ClickButton("addVariableButton");
        TypeIntoEditor(name);
        ClickCell(Grid()->GetItemCount() - 1, 1);
        TypeIntoEditor(value);
    }

    void TypeAndCompute(const QString& text) {
        Expr()->setFocus();
        Expr()->clear();
        QTest::keyClicks(Expr(), text);
        QTest::keyClick(Expr(), Qt::Key_Return);
    }

    MessageBoxRecorder m_boxes;
};

TEST_F(VarGridTest, TheGridHasTwoLeftAlignedColumnsAndNoClickableHeaders) {
    EXPECT_EQ(Grid()->headerItem()->text(0), "变量名");
    EXPECT_EQ(Grid()->headerItem()->text(1), "值");
    EXPECT_EQ(Grid()->columnWidth(0), 100);
    EXPECT_EQ(Grid()->columnWidth(1), 50);
    EXPECT_FALSE(Grid()->header()->sectionsClickable());
    EXPECT_EQ(Grid()->selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(VarGridTest, AddOpensAnEditorOverTheNewNameWithItsTextSelected) {
    ClickButton("addVariableButton");
    ASSERT_EQ(Grid()->GetItemCount(), 1);
    EXPECT_EQ(Cell(0, 0), kPlaceholder);
    EXPECT_EQ(Cell(0, 1), "0.0");
    CellEdit* editor = Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(editor->selectedText(), kPlaceholder);
    // 4 px into the cell, the column's width less 3, the row's height.
    const QRect row = Grid()->visualRect(Grid()->model()->index(0, 0));
    EXPECT_EQ(editor->geometry(), QRect(row.left() + 4, row.top(), 97, row.height()));

    TypeIntoEditor("x");
    EXPECT_EQ(Cell(0, 0), "x");
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_TRUE(m_boxes.Requests().empty());
}

TEST_F(VarGridTest, ANewRowLeftUnnamedGoesAgainWithoutAMessage) {
    Grid()->InsertItem(0, "x", "1");
    // The ways a naming ends without a name, typed text dropped unchecked.
    const std::pair<const char*, std::function<void()>> endings[] = {
        {"Escape", [this] { TypeIntoEditor("abc", Qt::Key_Escape); }},
        {"Enter, untouched", [this] { QTest::keyClick(Editor(), Qt::Key_Return); }},
        {"a click elsewhere, untouched", [this] { QTest::mouseClick(Expr(), Qt::LeftButton); }},
        {"Add again, untouched", [this] { ClickButton("addVariableButton"); }},
        // What a button that leaves the focus in the editor does.
        {"another edit opened, untouched", [this] { Grid()->EditSubItem(0, 1); }},
        {"the window closing",
         [this] {
             QTest::keyClicks(Editor(), "1a");
             Grid()->DiscardEdit();
         }},
    };
    for (const auto& [how, end] : endings) {
        SCOPED_TRACE(how);
        ClickButton("addVariableButton");
        end();
        if (Editor())
            QTest::keyClick(Editor(), Qt::Key_Escape);
        EXPECT_TRUE(m_boxes.Requests().empty());
        ASSERT_EQ(Grid()->GetItemCount(), 1);
        EXPECT_EQ(Cell(0, 0), "x");
    }

    // Escape leaves the expression box alone while a cell is edited.
    Expr()->setText("1+2");
    ClickButton("addVariableButton");
    QTest::keyClick(Editor(), Qt::Key_Escape);
    EXPECT_EQ(Expr()->text(), "1+2");
}

TEST_F(VarGridTest, NamesAreCheckedInOrderAndARejectedNameKeepsTheOldOne) {
    AddVariable("x", "1");
    struct Case {
        QString typed;
        QString message;  // empty: accepted
    };
    const Case cases[] = {
        {"X", "该变量名已存在。"},  // case ignored
        {"1a", "变量名应该以英文字母或下划线开头。"},
        {"", "变量名应该以英文字母或下划线开头。"},
        {"a-b", "变量名中应该只含英文字母、数字或下划线。"},
        {"a变量", "变量名中应该只含英文字母、数字或下划线。"},
        {"_a1", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const std::size_t before = m_boxes.Requests().size();
        ClickButton("addVariableButton");
        const int row = Grid()->GetItemCount() - 1;
        TypeIntoEditor(c.typed);
        if (c.message.isEmpty()) {
            EXPECT_EQ(m_boxes.Requests().size(), before);
            EXPECT_EQ(Cell(row, 0), c.typed);
        } else {
            ASSERT_EQ(m_boxes.Requests().size(), before + 1);
            EXPECT_EQ(m_boxes.Requests().back().text, c.message);
            EXPECT_EQ(m_boxes.Requests().back().caption, "错误");
            EXPECT_EQ(Cell(row, 0), kPlaceholder);
        }
    }
    // A row never clashes with itself: x may stay x or become X.
    const std::size_t before = m_boxes.Requests().size();
    Grid()->scrollToTop();
    Grid()->clearSelection();
    ASSERT_TRUE(ClickNameTwice(0));
    QTest::keyClick(Editor(), Qt::Key_Return);
    Grid()->EditSubItem(0, 0);
    TypeIntoEditor("X");
    EXPECT_EQ(m_boxes.Requests().size(), before);
    EXPECT_EQ(Cell(0, 0), "X");
}

TEST_F(VarGridTest, AValueMustReadWholeAsOneDecimalNumberAndIsStoredAsTyped) {
    ClickButton("addVariableButton");
    TypeIntoEditor("v");
    struct Case {
        QString typed;
        bool accepted;
    };
    const Case cases[] = {
        {"3.5", true},  {"-2", true},    {"1e3", true},    {" 7", true},
        {"7 ", false},  {"1,5", false},  {"abc", false},   {"", false},
        {"inf", false}, {"0x10", false}, {"1e400", false},  // beyond the largest double
    };
    QString stored = "0.0";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const std::size_t before = m_boxes.Requests().size();
        ClickCell(0, 1);
        ASSERT_NE(Editor(), nullptr);
        EXPECT_EQ(Editor()->selectedText(), stored);
        TypeIntoEditor(c.typed);
        if (c.accepted) {
            stored = c.typed;
            EXPECT_EQ(m_boxes.Requests().size(), before);
        } else {
            ASSERT_EQ(m_boxes.Requests().size(), before + 1);
            EXPECT_EQ(m_boxes.Requests().back().text, "请输入数值型的数据。");
            EXPECT_EQ(m_boxes.Requests().back().caption, "数据格式错误");
        }
        EXPECT_EQ(Cell(0, 1), stored);
    }
}

TEST_F(VarGridTest, ANameCellEditsOnlyOnASecondClickAValueCellOnTheFirst) {
    Grid()->InsertItem(0, "a", "1");
    Grid()->InsertItem(1, "b", "2");
    ASSERT_TRUE(ClickNameTwice(1));
    EXPECT_TRUE(Grid()->IsItemSelected(1));
    EXPECT_EQ(Editor()->Row(), 1);
    EXPECT_EQ(Editor()->Column(), 0);
    EXPECT_EQ(Editor()->accessibleName(), "变量名");
    QTest::keyClick(Editor(), Qt::Key_Escape);

    // A value opens at once, on a row not selected before.
    ClickCell(0, 1);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->Row(), 0);
    EXPECT_EQ(Editor()->Column(), 1);
    EXPECT_EQ(Editor()->text(), "1");
    EXPECT_EQ(Editor()->accessibleName(), "值");
}

TEST_F(VarGridTest, AfterNamingANewRowEnterOrTypingEditsItsValue) {
    Grid()->InsertItem(0, "a", "1");
    ClickCell(0, 0);
    ClickButton("addVariableButton");
    TypeIntoEditor("b");
    EXPECT_TRUE(Grid()->IsItemSelected(1));
    EXPECT_FALSE(Grid()->IsItemSelected(0));
    QTest::keyClick(Grid(), Qt::Key_Return);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->Row(), 1);
    EXPECT_EQ(Editor()->Column(), 1);
    TypeIntoEditor("5");
    QTest::keyClick(Grid(), Qt::Key_7);
    ASSERT_NE(Editor(), nullptr);
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_EQ(Cell(1, 1), "7");
}

TEST_F(VarGridTest, FullWidthFormsAreTakenAsTheirAsciiCharacters) {
    Grid()->InsertItem(0, "a", "1");
    const auto typeKeys = [this](const QString& text) {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Press, Editor(), Qt::Key_unknown, QString(c), {});
    };
    const auto commit = [this](const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(Editor(), &event);
    };
    const auto paste = [this](const QString& text) {
        QApplication::clipboard()->setText(text);
        Editor()->paste();
    };
    struct Case {
        std::function<void(const QString&)> enter;
        int column;
        QString text;
        QString stored;
    };
    const Case cases[] = {
        {typeKeys, 1, "－１．５", "-1.5"},
        {commit, 1, "２ｅ３", "2e3"},
        {paste, 1, "\u3000４", " 4"},
        {commit, 0, "ｘ＿Ａ", "x_A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.toStdString());
        ASSERT_NE(Grid()->EditSubItem(0, c.column), nullptr);
        c.enter(c.text);
        EXPECT_EQ(Editor()->text(), c.stored);
        QTest::keyClick(Editor(), Qt::Key_Return);
        EXPECT_EQ(Cell(0, c.column), c.stored);
    }
    EXPECT_TRUE(m_boxes.Requests().empty());
}

TEST_F(VarGridTest, AnEditorWhoseRowIsDeletedEndsAndWritesNowhere) {
    for (const char* name : {"a", "b", "c"})
        Grid()->InsertItem(Grid()->GetItemCount(), name, "0");
    ClickCell(1, 1);
    QTest::keyClicks(Editor(), "9");
    // As a button that leaves the focus in the editor deletes it.
    Grid()->DeleteItem(1);
    EXPECT_EQ(Editor(), nullptr);
    ASSERT_EQ(Grid()->GetItemCount(), 2);
    EXPECT_EQ(Cell(1, 0), "c");
    EXPECT_EQ(Cell(1, 1), "0");
    EXPECT_TRUE(m_boxes.Requests().empty());
}

TEST_F(VarGridTest, AClickElsewhereOrScrollingTheGridCommitsTheEdit) {
    for (int i = 0; i < 12; ++i)
        Grid()->InsertItem(i, QStringLiteral("v%1").arg(i), "0");
    ClickCell(0, 1);
    QTest::keyClicks(Editor(), "5");
    ClickCell(1, 1);  // the first editor ends as the second opens
    EXPECT_EQ(Cell(0, 1), "5");
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->Row(), 1);

    QTest::keyClicks(Editor(), "6");
    Grid()->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Cell(1, 1), "6");
    EXPECT_EQ(Editor(), nullptr);
}

TEST_F(VarGridTest, TheEditorWidensWithItsTextUpToTheGridsEdge) {
    Grid()->InsertItem(0, "a", "1");
    ClickCell(0, 1);
    CellEdit* editor = Editor();
    const int startWidth = editor->width();
    QTest::keyClicks(editor, "123456789");
    EXPECT_GT(editor->width(), startWidth);
    QTest::keyClicks(editor, QString(40, QLatin1Char('9')));
    EXPECT_EQ(editor->geometry().right() + 1, Grid()->viewport()->width());
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(Cell(0, 1), "123456789" + QString(40, QLatin1Char('9')));
}

TEST_F(VarGridTest, DeleteRemovesEverySelectedRowAndNothingWithoutASelection) {
    for (int i = 0; i < 5; ++i)
        Grid()->InsertItem(i, QStringLiteral("r%1").arg(i), "0");
    ClickButton("deleteVariableButton");
    EXPECT_EQ(Grid()->GetItemCount(), 5);

    ClickCell(1, 0);
    ClickCell(3, 0, Qt::ControlModifier);
    ClickButton("deleteVariableButton");
    ASSERT_EQ(Grid()->GetItemCount(), 3);
    EXPECT_EQ(Cell(0, 0), "r0");
    EXPECT_EQ(Cell(1, 0), "r2");
    EXPECT_EQ(Cell(2, 0), "r4");
    EXPECT_TRUE(m_boxes.Requests().empty());
}

TEST_F(VarGridTest, TheNextComputationUsesTheValuesAsEdited) {
    AddVariable("rate", "2.5");
    TypeAndCompute("rate*2");
    EXPECT_EQ(Result(), "5");

    ClickCell(0, 1);
    TypeIntoEditor("-1e-3");
    TypeAndCompute("rate*2");
    EXPECT_EQ(Result(), "-0.002");

    // A new row left unnamed changes nothing.
    ClickButton("addVariableButton");
    QTest::keyClick(Editor(), Qt::Key_Escape);
    TypeAndCompute("rate+1");
    EXPECT_EQ(Result(), "0.999");
}

// On a grid of its own: the main window's keys do not reach it.
TEST(VarGridKeys, F2EditsTheNameOfTheSelectedRow) {
    VarListCtrl grid;
    grid.InsertColumns();
    grid.InsertItem(0, "a", "1");
    grid.InsertItem(1, "b", "2");
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QApplication::setActiveWindow(&grid);
    QTest::keyClick(&grid, Qt::Key_F2);
    EXPECT_EQ(grid.findChild<CellEdit*>(), nullptr);  // nothing selected

    grid.setCurrentItem(grid.topLevelItem(1));
    QTest::keyClick(&grid, Qt::Key_F2);
    auto* editor = grid.findChild<CellEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Column(), 0);
    EXPECT_EQ(editor->selectedText(), "b");
    QTest::keyClicks(editor, "c");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(grid.GetItemText(1, 0), "c");
}

TEST_F(VarGridTest, F2AndTheGraveKeyStillActWhileACellIsEdited) {
    TypeAndCompute("1/4");
    AddVariable("x", "1");
    QApplication::clipboard()->setText("stale");
    ClickCell(0, 1);
    QTest::keyClicks(Editor(), "2`");
    EXPECT_EQ(QApplication::clipboard()->text(), "0.25");
    EXPECT_EQ(Editor()->text(), "2");

    QTest::keyClick(Editor(), Qt::Key_F2);
    EXPECT_TRUE(Expr()->hasFocus());
    EXPECT_EQ(Cell(0, 1), "2");
    EXPECT_EQ(Editor(), nullptr);
}

}  // namespace
