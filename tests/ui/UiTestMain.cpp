#include <gtest/gtest.h>

#include <QLocale>

#include "CalcApp.h"
#include "SessionTestSupport.h"
#include "WindowLanguage.h"

// The window tests share the program's application object, on the headless
// platform unless the caller chose another, and a temporary home.
int main(int argc, char** argv) {
    // Whatever a window keeps goes to a home of this run's own, gone at the
    // end; a test that reads kept state makes a fresh one of its own.
    const TemporaryXdgHome home;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    CalcApp app(argc, argv);
    // The tests read the window's own texts, whatever the caller's locale.
    UseWindowLanguage(QLocale::c());
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
