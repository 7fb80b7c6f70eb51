#include <gtest/gtest.h>

#include <QCoreApplication>

#include "SessionTestSupport.h"

// Session keeping needs no window system: Qt Core's application object,
// under the program's name so that the kept files go where the window's
// go, in a home of this run's own.
int main(int argc, char** argv) {
    const TemporaryXdgHome home;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tallyfern"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
