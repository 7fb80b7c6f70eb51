// The window speaks Chinese on a Chinese desktop and where no language is
// set, and English on any other desktop: its menu, its buttons' tips, its
// messages and its help.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>

#include "CalcDlg.h"
#include "HelpDlg.h"
#include "SkinButton.h"
#include "UiTestSupport.h"
#include "WindowLanguage.h"

namespace {

// Back to Chinese, the language the other tests read, when done.
class WindowLanguageTest : public testing::Test {
  protected:
    void TearDown() override { UseWindowLanguage(QLocale::c()); }
};

TEST_F(WindowLanguageTest, ChineseAndNoLanguageKeepChineseEveryOtherGetsEnglish) {
    const struct {
        QLocale locale;
        bool english;
    } rows[] = {
        {QLocale::c(), false},
        {QLocale(QLocale::Chinese, QLocale::China), false},
        {QLocale(QLocale::Chinese, QLocale::Taiwan), false},
        {QLocale(QLocale::English, QLocale::UnitedStates), true},
        {QLocale(QLocale::German, QLocale::Germany), true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(UseWindowLanguage(row.locale), row.english) << row.locale.name().toStdString();
}

TEST_F(WindowLanguageTest, TheWindowsTextsFollowTheLanguage) {
    const struct {
        QLocale locale;
        const char* closeEntry;
        const char* modeTip;
        const char* divisionError;
        const char* sineHelp;
    } rows[] = {
        {QLocale::c(), "关闭(&C)", "更多功能", "在以下位置发生 \"除数为零\" 错误\n\n    1/0",
         "求角x的正弦值"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), "&Close", "More",
         "Division by zero:\n\n    1/0", "The sine of the angle x"},
    };
    for (const auto& row : rows) {
        UseWindowLanguage(row.locale);
        CalcDlg dlg;
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        QApplication::setActiveWindow(&dlg);
        const std::string name = row.locale.name().toStdString();
        EXPECT_EQ(dlg.CreateWindowMenu()->actions().at(1)->text(), row.closeEntry) << name;
        EXPECT_EQ(ControlNamed<SkinButton>(&dlg, "modeButton")->TipText(), row.modeTip) << name;

        MessageBoxRecorder boxes;
        auto* box = ControlNamed(&dlg, "expressionEdit");
        box->setFocus();
        QTest::keyClicks(box, "1/0");
        QTest::keyClick(box, Qt::Key_Return);
        ASSERT_EQ(boxes.Requests().size(), 1u) << name;
        EXPECT_EQ(boxes.Requests()[0].text, row.divisionError) << name;

        HelpDlg help(&dlg);
        auto* list = ControlNamed<QListWidget>(&help, "functionList");
        list->setCurrentItem(list->findItems("sin", Qt::MatchExactly).value(0));
        EXPECT_TRUE(ControlNamed<QPlainTextEdit>(&help, "functionDescription")
                        ->toPlainText()
                        .contains(QString::fromUtf8(row.sineHelp)))
            << name;
    }
}

}  // namespace
