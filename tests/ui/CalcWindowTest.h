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
        m_window = std::make_unique<CalcDlg>();
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->activateWindow();
        QApplication::setActiveWindow(m_window.get());
    }

    std::unique_ptr<CalcDlg> m_window;
};
