// Memory that runs out during a computation is reported, and the window
// keeps what it showed.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <cstdlib>
#include <fstream>
#include <string>

#include "CalcDlg.h"
#include "ExpressionEdit.h"
#include "UiTestSupport.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

// The address space the process uses now, in bytes.
long long CurrentAddressSpace() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmSize:", 0) == 0)
            return std::stoll(line.substr(7)) * 1024;
    }
    return -1;
}

// Runs in a child process of its own (a death test), since the limit cannot
// be lifted again once it is set.
void ComputeAHugeSumWithLittleMemoryLeft() {
    MessageBoxRecorder boxes;
    CalcDlg dlg;
    dlg.show();
    auto* expr = ControlNamed<ExpressionEdit>(&dlg, "expressionEdit");
    auto* compute = ControlNamed<QAbstractButton>(&dlg, "computeButton");
    expr->setText("6*7");
    QTest::mouseClick(compute, Qt::LeftButton);

    // Three million terms need some hundred megabytes of tree; leave 48 MB.
    QString sum = "1";
    for (int i = 0; i < 3'000'000; ++i)
        sum += "+1";
    expr->setText(sum);
    const long long used = CurrentAddressSpace();
    const rlimit limit{static_cast<rlim_t>(used + (48ll << 20)),
                       static_cast<rlim_t>(used + (48ll << 20))};
    if (used < 0 || setrlimit(RLIMIT_AS, &limit) != 0)
        std::exit(2);
    QTest::mouseClick(compute, Qt::LeftButton);
    // A text that long is computed on a thread of its own.
    (void)QTest::qWaitFor([&boxes] { return !boxes.Requests().empty(); }, 30000);

    const bool reported = boxes.Requests().size() == 1 &&
                          boxes.Requests()[0].text == "内存不足，无法完成计算。" &&
                          boxes.Requests()[0].caption == "发生错误";
    const bool kept = ControlNamed<QLineEdit>(&dlg, "resultBox")->text() == "42" && dlg.isVisible();
    std::exit(reported && kept ? 0 : 1);
}

TEST(CalcDlgMemoryTest, RunningOutOfMemoryIsReportedAndThePreviousResultStays) {
    if (kAddressSanitizer)
        GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ComputeAHugeSumWithLittleMemoryLeft(), testing::ExitedWithCode(0), "");
}

}  // namespace
