// Every control of every window at the rectangle it has always had, in
// pixels inside the window (the main window's controls, at its full size,
// inside its own 3-pixel frame), and each window at its size.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QRect>
#include <QWidget>
#include <memory>

#include "AboutDlg.h"
#include "CalcDlg.h"
#include "ExprEditDlg.h"
#include "HelpDlg.h"
#include "UiTestSupport.h"

namespace {

std::unique_ptr<QWidget> MakeWindow(const QString& name) {
    if (name == "CalcDlg") {
        auto window = std::make_unique<CalcDlg>();
        ControlNamed<QAbstractButton>(window.get(), "modeButton")->click();
        return window;
    }
    if (name == "AboutDlg")
        return std::make_unique<AboutDlg>();
    if (name == "ExprEditDlg")
        return std::make_unique<ExprEditDlg>(QString());
    return std::make_unique<HelpDlg>();
}

TEST(FormGeometryTest, EveryControlKeepsItsRectangle) {
    const struct {
        const char* window;
        const char* control;
        QRect rect;
    } expected[] = {
        {"CalcDlg", "exitButton", QRect(5, 5, 21, 21)},
        {"CalcDlg", "helpButton", QRect(26, 5, 21, 21)},
        {"CalcDlg", "editorButton", QRect(48, 5, 21, 21)},
        {"CalcDlg", "expressionEdit", QRect(71, 5, 231, 21)},
        {"CalcDlg", "computeButton", QRect(305, 5, 21, 21)},
        {"CalcDlg", "resultBox", QRect(327, 5, 111, 21)},
        {"CalcDlg", "modeButton", QRect(440, 5, 21, 21)},
        {"CalcDlg", "topMostButton", QRect(461, 5, 21, 21)},
        {"CalcDlg", "aboutButton", QRect(482, 3, 24, 24)},
        {"CalcDlg", "naturalLabel", QRect(8, 29, 121, 12)},
        {"CalcDlg", "naturalBox", QRect(11, 45, 502, 119)},
        {"CalcDlg", "historyLabel", QRect(14, 168, 60, 12)},
        {"CalcDlg", "historyList", QRect(11, 185, 321, 106)},
        {"CalcDlg", "variablesLabel", QRect(339, 168, 62, 12)},
        {"CalcDlg", "variableGrid", QRect(339, 185, 173, 81)},
        {"CalcDlg", "addVariableButton", QRect(339, 272, 75, 21)},
        {"CalcDlg", "deleteVariableButton", QRect(437, 272, 75, 21)},
        {"AboutDlg", "iconLabel", QRect(17, 26, 30, 30)},
        {"AboutDlg", "versionLabel", QRect(60, 15, 201, 12)},
        {"AboutDlg", "descriptionLabel", QRect(60, 36, 282, 99)},
        {"AboutDlg", "okButton", QRect(267, 11, 75, 21)},
        {"ExprEditDlg", "expressionEdit", QRect(11, 11, 396, 93)},
        {"ExprEditDlg", "okButton", QRect(251, 110, 75, 21)},
        {"ExprEditDlg", "cancelButton", QRect(332, 110, 75, 21)},
        {"HelpDlg", "closeButton", QRect(410, 423, 75, 21)},
        {"HelpDlg", "hideButton", QRect(11, 410, 75, 21)},
        {"HelpDlg", "rulesGroup", QRect(11, 11, 474, 118)},
        {"HelpDlg", "rulesText", QRect(24, 33, 375, 93)},
        {"HelpDlg", "functionsGroup", QRect(11, 137, 474, 207)},
        {"HelpDlg", "functionList", QRect(20, 158, 105, 172)},
        {"HelpDlg", "functionDescription", QRect(129, 158, 345, 172)},
        {"HelpDlg", "shortcutsText", QRect(11, 351, 474, 66)},
    };
    std::unique_ptr<QWidget> window;
    for (const auto& e : expected) {
        if (!window || window->objectName() != e.window)
            window = MakeWindow(e.window);
        const QWidget* control = ControlNamed(window.get(), e.control);
        ASSERT_NE(control, nullptr) << e.window << " " << e.control;
        const QRect placed(control->mapTo(window.get(), QPoint(0, 0)), control->size());
        EXPECT_EQ(placed, e.rect) << e.window << " " << e.control;
    }
}

TEST(FormGeometryTest, EveryDialogHasItsFixedSize) {
    const struct {
        const char* window;
        QSize size;
    } expected[] = {
        {"AboutDlg", QSize(353, 146)},
        {"ExprEditDlg", QSize(417, 141)},
        {"HelpDlg", QSize(485, 419)},
    };
    for (const auto& e : expected) {
        const std::unique_ptr<QWidget> window = MakeWindow(e.window);
        EXPECT_EQ(window->size(), e.size) << e.window;
        EXPECT_EQ(window->minimumSize(), e.size) << e.window;
        EXPECT_EQ(window->maximumSize(), e.size) << e.window;
    }
}

}  // namespace
