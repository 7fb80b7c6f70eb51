// How the main window copes with a big natural form, driven headless as a
// user drives it: a sum pasted into the expression box, its value shown
// while typing, then "=" in the compact or the full window, or "=" in the
// compact window and then the switch to the full one; or, with many
// variables in the grid, "=" on a short text and a key and "=" on a long one.
//
//   tallyfern_window_bench compact|full|switch [TERMS]
//   tallyfern_window_bench variables [COUNT]
//
// TERMS ones are summed ("1+1+...+1"; 5,000,000 make 10 MB). Prints the
// time from the click to the drawing's arrival in the natural-form box
// (the result alone in the compact window), the longest time the window's
// events waited meanwhile (a timer asks every 5 ms), and the process's
// peak resident set. One scenario a run, so that the peak is its own.
// COUNT variables (400,000 unless given) are named v0, v1, ...
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
#include "ResultBox.h"

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
    // Sleeps until the next event (the ticker's at the latest): a loop
    // that spun would take a core from work done on another thread.
    while (!until())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const qint64 total = clock.elapsed();
    longest = std::max(longest, total - last);
    return {total, longest};
}

void Print(const char* what, const Waits& waits) {
    std::printf("  %s: %lld ms, the longest event wait %lld ms\n", what,
                static_cast<long long>(waits.total), static_cast<long long>(waits.longest));
}

// Enter on a short and on a long text, and a key at the end of the long
// one, with `count` variables in the grid.
int RunWithVariables(CalcDlg& window, long count) {
    auto* expression = Control<ExpressionEdit>(&window, "expressionEdit");
    auto* result = Control<ResultBox>(&window, "resultBox");
    QList<VariableText> variables;
    variables.reserve(count);
    for (long i = 0; i < count; ++i)
        variables.push_back({QStringLiteral("v%1").arg(i), QStringLiteral("1.5")});
    QElapsedTimer clock;
    clock.start();
    window.VariableRows().Reset(variables);
    std::printf("variables, %ld: the grid took them in %lld ms\n", count,
                static_cast<long long>(clock.elapsed()));
    const auto shows = [result](const QString& value, bool committed) {
        return [result, value, committed] {
            return result->text() == value && result->IsMuted() != committed;
        };
    };
    expression->setFocus();
    expression->setText(QStringLiteral("v7+1"));
    QApplication::processEvents();
    Print("Enter on v7+1",
          Measure([&] { QTest::keyClick(expression, Qt::Key_Return); }, shows("2.5", true)));

    // 5,000 characters: a text computed away from the window's thread.
    QString sum = QStringLiteral("v1");
    while (sum.size() < 5000)
        sum += QStringLiteral("+v1");
    expression->setText(sum);
    const QString value = QString::number(1.5 * double((sum.size() + 1) / 3));
    (void)Measure([] {}, shows(value, false));
    Print("a key at the end of a 5,000-character sum",
          Measure([&] { QTest::keyClicks(expression, QStringLiteral("+")); },
                  [&] { return expression->HasErrorMark(); }));
    Print("Enter on that sum", Measure(
                                   [&] {
                                       QTest::keyClick(expression, Qt::Key_Backspace);
                                       QTest::keyClick(expression, Qt::Key_Return);
                                   },
                                   shows(value, true)));
    std::printf("  peak resident set: %ld kB\n", PeakResidentKb());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string scenario = argc > 1 ? argv[1] : "full";

    CalcDlg window;
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    if (scenario == "variables")
        return RunWithVariables(window, argc > 2 ? std::stol(argv[2]) : 400'000);
    const long terms = argc > 2 ? std::stol(argv[2]) : 5'000'000;
    auto* expression = Control<ExpressionEdit>(&window, "expressionEdit");
    auto* compute = Control<QAbstractButton>(&window, "computeButton");
    auto* mode = Control<QAbstractButton>(&window, "modeButton");
    auto* result = Control<ResultBox>(&window, "resultBox");

    QString sum(QStringLiteral("1"));
    sum.reserve(2 * terms + 1);
    for (long i = 0; i < terms; ++i)
        sum += QStringLiteral("+1");
    expression->setText(sum);
    sum.clear();
    if (scenario == "full")
        QTest::mouseClick(mode, Qt::LeftButton);
    const QString expected = QString::number(terms + 1);
    // "=" comes after typing has shown the value, as a user's would.
    (void)Measure([] {}, [&] { return result->text() == expected; });
    QApplication::processEvents();
    const long before = PeakResidentKb();

    const auto computed = [&] { return result->text() == expected && !result->IsMuted(); };
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
    if (scenario == "full") {
        std::printf("  the result came after %lld ms, the drawing %lld ms after it\n",
                    static_cast<long long>(resultMs),
                    static_cast<long long>(waits.total - resultMs));
    }
    if (scenario == "switch") {
        waits = Measure([&] { QTest::mouseClick(mode, Qt::LeftButton); }, drawn);
        std::printf("  then the full window: drawn in %lld ms, the longest event wait %lld ms\n",
                    static_cast<long long>(waits.total), static_cast<long long>(waits.longest));
    }
    std::printf("  the drawing: %d characters\n", NaturalCharacters(window));
    std::printf("  peak resident set: %ld kB (%ld kB before \"=\")\n", PeakResidentKb(), before);
    return 0;
}
