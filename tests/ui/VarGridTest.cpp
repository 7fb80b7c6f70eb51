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
    VariablesModel& Rows() const { return m_window->VariableRows(); }
    ExpressionEdit* Expr() const {
        return ControlNamed<ExpressionEdit>(m_window.get(), "expressionEdit");
    }
    QString Result() const { return ControlNamed<QLineEdit>(m_window.get(), "resultBox")->text(); }
    QString Cell(int row, int column) const { return Rows().index(row, column).data().toString(); }
    QLineEdit* Editor() const { return qobject_cast<QLineEdit*>(Grid()->OpenEditor()); }
    // The cell the open editor edits, as (row, column); (-1, -1) with none.
    std::pair<int, int> Edited() const {
        for (int row = 0; row < Rows().rowCount(); ++row) {
            for (int column = 0; column < 2; ++column) {
                if (Editor() && Grid()->indexWidget(Rows().index(row, column)) == Editor())
                    return {row, column};
            }
        }
        return {-1, -1};
    }

    void AddRow(const QString& name, const QString& value) {
        Rows().Reset(Rows().Variables() + QList<VariableText>{{name, value}});
    }
    void ClickButton(const char* id) {
        QTest::mouseClick(ControlNamed(m_window.get(), id), Qt::LeftButton);
    }
    QPoint CellCentre(int row, int column) const {
        return Grid()->visualRect(Rows().index(row, column)).center();
    }
    void ClickCell(int row, int column, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, modifiers, CellCentre(row, column));
    }
    // Keys go where the focus is, as a user's do.
    static void Keys(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    // Replaces the editor's selected text with `text` and ends with `key`.
    void TypeIntoEditor(const QString& text, Qt::Key key = Qt::Key_Return) {
        QLineEdit* editor = Editor();
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

    void TypeAndCompute(const QString& text) {
        Expr()->setFocus();
        Expr()->clear();
        QTest::keyClicks(Expr(), text);
        QTest::keyClick(Expr(), Qt::Key_Return);
    }

    MessageBoxRecorder m_boxes;
};

TEST_F(VarGridTest, TheGridHasTwoLeftAlignedColumnsAndNoClickableHeaders) {
    EXPECT_EQ(Rows().headerData(0, Qt::Horizontal).toString(), "变量名");
    EXPECT_EQ(Rows().headerData(1, Qt::Horizontal).toString(), "值");
    EXPECT_EQ(Grid()->columnWidth(0), 100);
    EXPECT_EQ(Grid()->columnWidth(1), 50);
    EXPECT_FALSE(Grid()->horizontalHeader()->sectionsClickable());
    EXPECT_TRUE(Grid()->horizontalHeader()->defaultAlignment() & Qt::AlignLeft);
    EXPECT_EQ(Grid()->selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(VarGridTest, TheKeyboardGoesFromNameToValueToTheNextRowAndEnterStaysInTheGrid) {
    Expr()->setText("1+2");
    ClickButton("addVariableButton");
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->selectedText(), kPlaceholder);
    // 4 px into the cell, the column's width less 3, the row's height.
    const QRect cell = Grid()->visualRect(Rows().index(0, 0));
    EXPECT_EQ(Editor()->geometry(), QRect(cell.left() + 4, cell.top(), 97, cell.height()));
    Keys("a");
    Key(Qt::Key_Tab);
    EXPECT_EQ(Edited(), std::pair(0, 1));
    EXPECT_EQ(Editor()->selectedText(), "0.0");
    Keys("3");
    Key(Qt::Key_Return);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_TRUE(Grid()->hasFocus());
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(Cell(0, 0), "a");
    EXPECT_EQ(Cell(0, 1), "3");

    // A second row; Shift+Tab goes back from its value to its name, and
    // Tab from the first row's value to the second row's name.
    ClickButton("addVariableButton");
    Keys("b");
    Key(Qt::Key_Tab);
    Keys("4");
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Edited(), std::pair(1, 0));
    EXPECT_EQ(Cell(1, 1), "4");
    Key(Qt::Key_Escape);
    ClickCell(0, 1);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Edited(), std::pair(1, 0));
    // Escape drops the edit and leaves the expression alone.
    Keys("zz");
    Key(Qt::Key_Escape);
    EXPECT_EQ(Cell(1, 0), "b");
    EXPECT_EQ(Expr()->text(), "1+2");

    // On the grid: Enter edits the value, F2 the name, Delete removes.
    Grid()->selectRow(1);
    Key(Qt::Key_Return);
    EXPECT_EQ(Edited(), std::pair(1, 1));
    Key(Qt::Key_Escape);
    Key(Qt::Key_F2);
    EXPECT_EQ(Edited(), std::pair(1, 0));
    Keys("c");
    Key(Qt::Key_Return);
    EXPECT_EQ(Cell(1, 0), "c");
    Key(Qt::Key_7);
    Key(Qt::Key_Return);
    EXPECT_EQ(Cell(1, 1), "7");
    Key(Qt::Key_Delete);
    ASSERT_EQ(Rows().rowCount(), 1);
    EXPECT_TRUE(Grid()->hasFocus());
    EXPECT_TRUE(m_boxes.Requests().empty());

    TypeAndCompute("a*2");
    EXPECT_EQ(Result(), "6");
}

TEST_F(VarGridTest, ANewRowLeftUnnamedGoesAgainWithoutAMessage) {
    AddRow("x", "1");
    // The ways a naming ends without a name, typed text dropped unchecked.
    const std::pair<const char*, std::function<void()>> endings[] = {
        {"Escape", [this] { TypeIntoEditor("abc", Qt::Key_Escape); }},
        {"Enter, untouched", [] { Key(Qt::Key_Return); }},
        {"Tab, untouched", [] { Key(Qt::Key_Tab); }},
        {"a click elsewhere, untouched", [this] { QTest::mouseClick(Expr(), Qt::LeftButton); }},
        {"Add again, untouched", [this] { ClickButton("addVariableButton"); }},
        // What a button that leaves the focus in the editor does.
        {"another edit opened, untouched", [this] { Grid()->EditCell(0, 1); }},
        {"the window closing",
         [this] {
             Keys("1a");
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
        ASSERT_EQ(Rows().rowCount(), 1);
        EXPECT_EQ(Cell(0, 0), "x");
    }
}

TEST_F(VarGridTest, ARefusedEditIsToldOnceItsEditorClosedAndTheRowStays) {
    AddRow("x", "1");
    struct Case {
        int column;
        Qt::Key key;
        QString typed;
        QString message;
        QString kept;
    };
    const Case cases[] = {
        {0, Qt::Key_Return, "X", "该变量名已存在。", kPlaceholder},
        {0, Qt::Key_Tab, "1a", "变量名应该以英文字母或下划线开头。", kPlaceholder},
        {1, Qt::Key_Return, "1e400", "请输入数值型的数据。", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const std::size_t before = m_boxes.Requests().size();
        // A new row's name, or the value of the row there is.
        const int row = c.column == 0 ? 1 : 0;
        if (c.column == 0)
            ClickButton("addVariableButton");
        else
            Grid()->EditCell(row, c.column);
        TypeIntoEditor(c.typed, c.key);
        ASSERT_EQ(m_boxes.Requests().size(), before + 1);
        EXPECT_EQ(m_boxes.Requests().back().text, c.message);
        EXPECT_EQ(Editor(), nullptr) << "the refused cell is not left for the next";
        ASSERT_EQ(Rows().rowCount(), row + 1);
        EXPECT_EQ(Cell(row, c.column), c.kept);
        if (c.column == 0)
            Rows().removeRow(row);
    }
}

TEST_F(VarGridTest, ANameCellEditsOnlyOnASecondClickAValueCellOnTheFirst) {
    AddRow("a", "1");
    AddRow("b", "2");
    ClickCell(1, 0);
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    EXPECT_EQ(Editor(), nullptr);
    ClickCell(1, 0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Editor() != nullptr; }, 2000));
    EXPECT_EQ(Edited(), std::pair(1, 0));
    EXPECT_EQ(Editor()->accessibleName(), "变量名");
    QTest::keyClick(Editor(), Qt::Key_Escape);

    // A value opens at once, on a row not selected before.
    ClickCell(0, 1);
    EXPECT_EQ(Edited(), std::pair(0, 1));
    EXPECT_EQ(Editor()->text(), "1");
    EXPECT_EQ(Editor()->accessibleName(), "值");
}

TEST_F(VarGridTest, FullWidthFormsAreTakenAsTheirAsciiCharacters) {
    AddRow("a", "1");
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
        ASSERT_TRUE(Grid()->EditCell(0, c.column));
        c.enter(c.text);
        EXPECT_EQ(Editor()->text(), c.stored);
        QTest::keyClick(Editor(), Qt::Key_Return);
        EXPECT_EQ(Cell(0, c.column), c.stored);
    }
    EXPECT_TRUE(m_boxes.Requests().empty());
}

TEST_F(VarGridTest, AnEditorWhoseRowIsDeletedEndsAndWritesNowhere) {
    for (const char* name : {"a", "b", "c"})
        AddRow(name, "0");
    ClickCell(1, 1);
    QTest::keyClicks(Editor(), "9");
    // As a button that leaves the focus in the editor deletes it.
    Rows().removeRow(1);
    EXPECT_EQ(Editor(), nullptr);
    ASSERT_EQ(Rows().rowCount(), 2);
    EXPECT_EQ(Cell(1, 0), "c");
    EXPECT_EQ(Cell(1, 1), "0");
    EXPECT_TRUE(m_boxes.Requests().empty());
}

TEST_F(VarGridTest, AClickElsewhereOrScrollingTheGridCommitsTheEdit) {
    for (int i = 0; i < 12; ++i)
        AddRow(QStringLiteral("v%1").arg(i), "0");
    ClickCell(0, 1);
    QTest::keyClicks(Editor(), "5");
    ClickCell(1, 1);  // the first editor ends as the second opens
    EXPECT_EQ(Cell(0, 1), "5");
    EXPECT_EQ(Edited(), std::pair(1, 1));

    QTest::keyClicks(Editor(), "6");
    Grid()->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Cell(1, 1), "6");
    EXPECT_EQ(Editor(), nullptr);
}

TEST_F(VarGridTest, TheEditorWidensWithItsTextUpToTheGridsEdge) {
    AddRow("a", "1");
    ClickCell(0, 1);
    QLineEdit* editor = Editor();
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
        AddRow(QStringLiteral("r%1").arg(i), "0");
    ClickButton("deleteVariableButton");
    EXPECT_EQ(Rows().rowCount(), 5);

    ClickCell(1, 0);
    ClickCell(3, 0, Qt::ControlModifier);
    ClickCell(4, 0, Qt::ControlModifier);
    ClickButton("deleteVariableButton");
    ASSERT_EQ(Rows().rowCount(), 2);
    EXPECT_EQ(Cell(0, 0), "r0");
    EXPECT_EQ(Cell(1, 0), "r2");
    EXPECT_EQ(m_window->Variables().Size(), 2u);
    EXPECT_TRUE(m_boxes.Requests().empty());
}

TEST_F(VarGridTest, F2AndTheGraveKeyStillActWhileACellIsEdited) {
    TypeAndCompute("1/4");
    AddRow("x", "1");
    QApplication::clipboard()->setText("stale");
    ClickCell(0, 1);
    QTest::keyClicks(Editor(), "2`");
    EXPECT_EQ(QApplication::clipboard()->text(), "0.25");
    EXPECT_EQ(Editor()->text(), "2");

    QTest::keyClick(Editor(), Qt::Key_F2);
    EXPECT_TRUE(Expr()->hasFocus());
    EXPECT_EQ(Cell(0, 1), "2");
    EXPECT_EQ(Editor(), nullptr);
    TypeAndCompute("x*2");
    EXPECT_EQ(Result(), "4");
}

}  // namespace
