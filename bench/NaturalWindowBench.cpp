// How the main window copes with a big natural form, driven headless as a
// user drives it: a sum pasted into the expression box, then "=" in the
// compact or the full window, or "=" in the compact window and then the
// switch to the full one.
//
//   tallyfern_window_bench compact|full|switch [TERMS]
//
// TERMS ones are summed ("1+1+...+1"; 5,000,000 make 10 MB). Prints the
// time from the click to the drawing's arrival in the natural-form box
// (the result alone in the compact window), the longest time the window's
// events waited meanwhile (a timer asks every 5 ms), and the process's
// peak resident set. One scenario a run, so that the peak is its own.
#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "CalcDlg.h"
#include "ExpressionEdit.h"

namespace {

long PeakResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

template <class T = QWidget>
T* Control(const QWidget* window, const char* name) {
    return window->findChild<T*>(QString::fromLatin1(name));
}

// The characters the natural-form box holds, as a screen reader counts them.
int NaturalCharacters(const CalcDlg& window) {
    QAccessibleInterface* face =
        QAccessible::queryAccessibleInterface(Control(&window, "naturalBox"));
    QAccessibleTextInterface* text = face ? face->textInterface() : nullptr;
    return text ? text->characterCount() : -1;
}

// The longest wait of the window's events while `until` is false, after
// `start` began it.
struct Waits {
    qint64 total = 0;
    qint64 longest = 0;
};

template <class Done>
Waits Measure(const std::function<void()>& start, Done until) {
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    ticker.start();
    clock.start();
    start();
    while (!until())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const qint64 total = clock.elapsed();
    longest = std::max(longest, total - last);
    return {total, longest};
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string scenario = argc > 1 ? argv[1] : "full";
    const long terms = argc > 2 ? std::stol(argv[2]) : 5'000'000;

    CalcDlg window;
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    auto* expression = Control<ExpressionEdit>(&window, "expressionEdit");
    auto* compute = Control<QAbstractButton>(&window, "computeButton");
    auto* mode = Control<QAbstractButton>(&window, "modeButton");
    auto* result = Control<QLineEdit>(&window, "resultBox");

    QString sum(QStringLiteral("1"));
    sum.reserve(2 * terms + 1);
    for (long i = 0; i < terms; ++i)
        sum += QStringLiteral("+1");
    expression->setText(sum);
    sum.clear();
    if (scenario == "full")
        QTest::mouseClick(mode, Qt::LeftButton);
    QApplication::processEvents();
    const long before = PeakResidentKb();

    const QString expected = QString::number(terms + 1);
    const auto computed = [&] { return result->text() == expected; };
    // When the result came, on the way to the drawing.
    QElapsedTimer sinceClick;
    qint64 resultMs = -1;
    const auto drawn = [&] {
        if (resultMs < 0 && computed())
            resultMs = sinceClick.elapsed();
        return computed() && NaturalCharacters(window) > 0;
    };
    sinceClick.start();
    Waits waits = Measure([&] { QTest::mouseClick(compute, Qt::LeftButton); },
                          scenario == "full" ? std::function<bool()>(drawn) : computed);
    std::printf("%s, %ld terms: \"=\" took %lld ms, the longest event wait %lld ms\n",
                scenario.c_str(), terms, static_cast<long long>(waits.total),
                static_cast<long long>(waits.longest));
    if (scenario == "full")
        std::printf("  the result came after %lld ms\n", static_cast<long long>(resultMs));
    if (scenario == "switch") {
        waits = Measure([&] { QTest::mouseClick(mode, Qt::LeftButton); }, drawn);
        std::printf("  then the full window: drawn in %lld ms, the longest event wait %lld ms\n",
                    static_cast<long long>(waits.total), static_cast<long long>(waits.longest));
    }
    std::printf("  the drawing: %d characters\n", NaturalCharacters(window));
    std::printf("  peak resident set: %ld kB (%ld kB before \"=\")\n", PeakResidentKb(), before);
    return 0;
}
