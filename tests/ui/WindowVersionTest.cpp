// The window states its version in texts written as they were designed (the
// caption, the about box's first line); a version bump in CMake must not
// leave them behind.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QString>

#include "AboutDlg.h"
#include "CalcDlg.h"
#include "UiTestSupport.h"

namespace {

const QString kVersion = QStringLiteral(TALLYFERN_PROJECT_VERSION);

QString AboutBoxFirstLine() {
    const AboutDlg about;
    return ControlNamed<QLabel>(&about, "versionLabel")->text();
}

TEST(WindowVersionTest, EveryStatedVersionIsTheProjectVersion) {
    const CalcDlg dlg;
    EXPECT_TRUE(dlg.windowTitle().startsWith("Tallyfern " + kVersion + ":"))
        << dlg.windowTitle().toStdString();
    EXPECT_TRUE(AboutBoxFirstLine().startsWith("Tallyfern " + kVersion + " 版"))
        << AboutBoxFirstLine().toStdString();
    EXPECT_EQ(QApplication::applicationVersion(), kVersion);
}

}  // namespace
