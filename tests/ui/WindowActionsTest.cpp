// The main window's commands are actions: each has its keys and the place
// where they work, and the window menu and the buttons give the same
// actions.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QMenu>

#include "CalcDlg.h"
#include "UiTestSupport.h"

namespace {

TEST(WindowActionsTest, EachCommandHasItsKeysWhereTheyWork) {
    const CalcDlg dlg;
    using Keys = QList<QKeySequence>;
    const Keys enter = {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)};
    const struct {
        const char* action;
        Keys keys;
        Qt::ShortcutContext context;
    } expected[] = {
        {"computeAction",
         enter +
             Keys{QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::SHIFT | Qt::Key_Return),
                  QKeySequence(Qt::CTRL | Qt::Key_Enter), QKeySequence(Qt::SHIFT | Qt::Key_Enter)},
         Qt::WidgetShortcut},
        {"recallHistoryAction", enter, Qt::WidgetShortcut},
        {"filterHistoryAction", {QKeySequence(Qt::CTRL | Qt::Key_F)}, Qt::WidgetShortcut},
        {"copyHistoryAction", QKeySequence::keyBindings(QKeySequence::Copy), Qt::WidgetShortcut},
        {"clearAction", {QKeySequence(Qt::Key_Escape)}, Qt::WindowShortcut},
        {"goToExpressionAction", {QKeySequence(Qt::Key_F2)}, Qt::WindowShortcut},
        {"copyResultAction",
         {QKeySequence(Qt::Key_QuoteLeft), QKeySequence(Qt::Key_AsciiTilde),
          QKeySequence(Qt::ShiftModifier | Qt::Key_AsciiTilde),
          QKeySequence(Qt::ShiftModifier | Qt::Key_QuoteLeft), QKeySequence(Qt::Key_Dead_Grave)},
         Qt::WindowShortcut},
        {"windowMenuAction",
         {QKeySequence("Menu"), QKeySequence("Shift+F10"), QKeySequence("Alt+Space")},
         Qt::WindowShortcut},
        {"renameVariableAction", {QKeySequence(Qt::Key_F2)}, Qt::WidgetShortcut},
        {"removeVariableAction", {QKeySequence(Qt::Key_Delete)}, Qt::WidgetShortcut},
        {"closeAction", {}, Qt::WindowShortcut},
    };
    for (const auto& e : expected) {
        const auto* action = dlg.findChild<QAction*>(e.action);
        ASSERT_NE(action, nullptr) << e.action;
        EXPECT_EQ(action->shortcuts(), e.keys) << e.action;
        EXPECT_EQ(action->shortcutContext(), e.context) << e.action;
    }
}

TEST(WindowActionsTest, TheMenuAndTheButtonsGiveTheSameActions) {
    CalcDlg dlg;
    const auto menu = dlg.CreateWindowMenu();
    const QList<QAction*> entries = menu->actions();
    ASSERT_GE(entries.size(), 7);
    EXPECT_EQ(entries[1], dlg.findChild<QAction*>("closeAction"));
    EXPECT_EQ(entries[4], dlg.findChild<QAction*>("graphAction"));
    EXPECT_EQ(entries.last(), dlg.findChild<QAction*>("aboutAction"));
    // A click on the exit button closes the window through the same action.
    int closed = 0;
    QObject::connect(entries[1], &QAction::triggered, [&closed] { ++closed; });
    ControlNamed<QAbstractButton>(&dlg, "exitButton")->click();
    EXPECT_EQ(closed, 1);
}

}  // namespace
