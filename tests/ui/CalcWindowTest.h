#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>

#include "CalcDlg.h"

// A fixture with the main window shown and active, as a user finds it.
class CalcWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        dlg = std::make_unique<CCalcDlg>();
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        dlg->activateWindow();
        QApplication::setActiveWindow(dlg.get());
    }

    std::unique_ptr<CCalcDlg> dlg;
};
