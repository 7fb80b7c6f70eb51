#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "CalcApp.h"
#include "CalcDlg.h"
#include "WindowCommandLine.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// While the application starts, a window system that cannot start makes Qt
// stop the program with an abort, after a page of advice; the user gets one
// line and status 1 instead. Qt's other messages meanwhile are passed on.
QtMessageHandler g_qtHandler = nullptr;

void ReportFailedStart(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        if (g_qtHandler)
            g_qtHandler(type, context, message);
        return;
    }
    std::fputs("tallyfern: cannot open the window: the window system did not start\n", stderr);
    std::_Exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status = AnswerWindowCommandLine(argc, argv))
        return *status;
#if defined(__GLIBC__)
    // A long expression passes through blocks of megabytes (its copies, its
    // tree, its layout). Once the first of them is freed, glibc would serve
    // the next ones from the heap and keep them there, and the window would
    // grow by some megabytes with every computation; a fixed threshold
    // hands every block of a megabyte or more back when it is freed.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
    g_qtHandler = qInstallMessageHandler(ReportFailedStart);
    // Read before Qt takes its own options out of the arguments.
    const bool noSession =
        ParseWindowCommandLine(std::span<const char* const>(argv + 1, argc > 0 ? argc - 1 : 0))
            .noSession;
    CalcApp app(argc, argv);
    qInstallMessageHandler(g_qtHandler);
    CalcDlg window(nullptr, noSession ? SessionUse::Forgotten : SessionUse::Kept);
    // Closing the window ends the program, whatever other window is open.
    QObject::connect(&window, &QDialog::finished, &app, &QCoreApplication::quit);
    window.show();
    return app.exec();
}
