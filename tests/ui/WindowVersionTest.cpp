// The window states its version in texts written as they were designed (the
// caption, the about box's first line); a version bump in CMake must not
// leave them behind.
#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <string_view>

#include "CalcDlg.h"
#include "DialogTemplates.h"
#include "resource.h"

namespace {

const QString kVersion = QStringLiteral(TALLYFERN_PROJECT_VERSION);

QString AboutBoxFirstLine() {
    for (const ControlTemplate& control : FindDialogTemplate(IDD_ABOUTBOX).controls) {
        if (std::string_view(control.text).starts_with("Tallyfern"))
            return QString::fromUtf8(control.text);
    }
    return {};
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
