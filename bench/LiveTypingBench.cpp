// The main window answering as the expression is typed, measured on the
// real window with real key events (run with QT_QPA_PLATFORM=offscreen):
//
// - a realistic typing run of 1,000 keys over expressions of up to 1,000
//   characters: from each key to the moment the window has painted what
//   the key changed, the live value included;
// - names typed and taken back at the end of such expressions, each key
//   with the list of names open;
// - a pasted sum of 10^5 terms, then editing keys: from each key to its
//   paint, and from the last key to the live value painted;
// - the compute command on that sum, and the processor time the window
//   takes while it sits idle.
//
// `tallyfern_live_bench off` measures the same with computing while typing
// switched off, which is the window as it was before.
#include <sys/resource.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "CalcDlg.h"
#include "ExpressionEdit.h"
#include "LiveComputation.h"
#include "ResultBox.h"
#include "TypingHelper.h"
#include "WindowBenchSupport.h"

namespace {

constexpr int kTypingKeys = 1000;
constexpr int kSumTerms = 100000;

struct Window {
    CalcDlg dialog;
    ExpressionEdit* expression = nullptr;
    ResultBox* result = nullptr;

    Window() {
        dialog.show();
        (void)QTest::qWaitForWindowExposed(&dialog);
        expression = dialog.findChild<ExpressionEdit*>(QStringLiteral("expressionEdit"));
        result = dialog.findChild<ResultBox*>(QStringLiteral("resultBox"));
        expression->setFocus();
    }
};

// Runs the event loop until `done` holds; false after `limitMs`.
bool SpinUntil(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

// The value the result box is to show once `text` has been computed while
// typing; with the switch off, what it shows now.
QString ExpectedValue(const Window& window, bool live, const QString& text) {
    return live ? ComputeLive(text, window.dialog.Variables()).value : window.result->text();
}

// Presses one key; returns the milliseconds until the window has painted
// the edit and the value it leads to.
double PressAndWait(Window& window, bool live, const std::function<void()>& press,
                    const QString& textAfter) {
    const QString expected = ExpectedValue(window, live, textAfter);
    PaintCounter boxPaints(window.expression);
    PaintCounter resultPaints(window.result);
    const QString resultBefore = window.result->text();
    QElapsedTimer timer;
    timer.start();
    press();
    const bool answered = SpinUntil(
        [&] {
            const bool valueShown =
                window.result->text() == expected &&
                (resultPaints.Count() > 0 || window.result->text() == resultBefore);
            return boxPaints.Count() > 0 && valueShown;
        },
        5000);
    if (!answered)
        std::fprintf(stderr, "no answer for %s\n", qPrintable(textAfter.left(60)));
    return Milliseconds(timer);
}

void Paste(ExpressionEdit* box, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

// Expressions as people write them: numbers, functions, powers, brackets.
QString RealisticExpression(std::mt19937& random, int length) {
    static const char* const kTerms[] = {
        "(3^2+4^2)/(2*3*4)", "sin(0.5)*2", "sqrt(2)+1.5", "ln(10)/ln(2)", "12.75*4",
        "(1+2)*(3-4)/5",     "2^10",       "cos(1)^2",    "100/7",        "exp(1)-2.718",
    };
    static const char kOperators[] = "+-*";
    QString text;
    while (text.size() < length) {
        if (!text.isEmpty())
            text += QLatin1Char(kOperators[random() % 3]);
        text += QLatin1String(kTerms[random() % std::size(kTerms)]);
    }
    return text.left(length);
}

void PrintTimes(const char* what, const std::vector<double>& times) {
    std::printf("%-44s keys %5zu  median %7.2f ms  p99 %7.2f ms  max %7.2f ms\n", what,
                times.size(), Percentile(times, 0.5), Percentile(times, 0.99),
                Percentile(times, 1.0));
}

// Types `c` at the end of the box.
void Type(Window& window, bool live, const QString& c, std::vector<double>& times) {
    const QString before = window.expression->text();
    times.push_back(PressAndWait(
        window, live, [&] { QTest::keyClicks(window.expression, c); }, before + c));
}

// A realistic run: expressions of growing length, each begun by pasting
// all but its end and finished by typing, with a slip mended now and then.
std::vector<double> TypingRun(Window& window, bool live) {
    std::mt19937 random(7);
    std::vector<double> times;
    const int lengths[] = {20, 40, 120, 300, 600, 1000};
    for (int round = 0; static_cast<int>(times.size()) < kTypingKeys; ++round) {
        const int length = lengths[round % std::size(lengths)];
        const QString target = RealisticExpression(random, length);
        window.expression->clear();
        const qsizetype typedPart = std::min<qsizetype>(target.size(), 40);
        const QString pasted = target.left(target.size() - typedPart);
        if (!pasted.isEmpty()) {
            times.push_back(PressAndWait(
                window, live, [&] { Paste(window.expression, pasted); }, pasted));
        }
        for (qsizetype at = pasted.size();
             at < target.size() && static_cast<int>(times.size()) < kTypingKeys; ++at) {
            const QString c = target.mid(at, 1);
            if (random() % 12 == 0) {
                // A slip, taken back.
                const QString before = window.expression->text();
                Type(window, live, QStringLiteral("7"), times);
                times.push_back(PressAndWait(
                    window, live, [&] { QTest::keyClick(window.expression, Qt::Key_Backspace); },
                    before));
            }
            Type(window, live, c, times);
        }
    }
    return times;
}

// Names typed at the end of expressions of up to 1,000 characters and
// taken back, each key leaving the list of names open.
std::vector<double> CompletionRun(Window& window, bool live) {
    static const char* const kNames[] = {"asin", "arccos", "log", "abs", "dtodms", "cot"};
    const int lengths[] = {20, 120, 300, 600, 1000};
    std::mt19937 random(11);
    std::vector<double> times;
    int closed = 0;
    const auto press = [&](const std::function<void()>& key, const QString& after) {
        times.push_back(PressAndWait(window, live, key, after));
        closed += window.expression->TypingHelp().IsListOpen() ? 0 : 1;
    };
    for (int round = 0; static_cast<int>(times.size()) < kTypingKeys; ++round) {
        const QString name = QLatin1String(kNames[round % std::size(kNames)]);
        const int length = lengths[round % std::size(lengths)];
        const QString start = RealisticExpression(random, length - 8) + u'+';
        window.expression->clear();
        PressAndWait(
            window, live, [&] { Paste(window.expression, start); }, start);
        for (qsizetype typed = 1; typed < name.size(); ++typed) {
            press([&] { QTest::keyClicks(window.expression, name.mid(typed - 1, 1)); },
                  start + name.left(typed));
        }
        for (qsizetype kept = name.size() - 2; kept >= 1; --kept) {
            press([&] { QTest::keyClick(window.expression, Qt::Key_Backspace); },
                  start + name.left(kept));
        }
    }
    if (closed > 0)
        std::fprintf(stderr, "the list was closed after %d keys\n", closed);
    return times;
}

QString LongSum() {
    QString sum;
    sum.reserve(kSumTerms * 7);
    for (int i = 1; i <= kSumTerms; ++i) {
        if (i > 1)
            sum += QLatin1Char('+');
        sum += QString::number(i % 1000);
    }
    return sum;
}

// Edits the end of a pasted long sum; prints each key's answer and the
// live value's delay after the last key.
void LongSumRun(Window& window, bool live) {
    window.expression->clear();
    const QString sum = LongSum();
    QElapsedTimer pasteTimer;
    pasteTimer.start();
    Paste(window.expression, sum);
    QCoreApplication::processEvents();
    const double pasteAnswer = Milliseconds(pasteTimer);

    // Each key until its own edit is painted; the live value may follow.
    std::vector<double> answers;
    std::vector<std::function<void()>> keys;
    for (int i = 0; i < 10; ++i) {
        keys.emplace_back([&] { QTest::keyClick(window.expression, Qt::Key_Backspace); });
        keys.emplace_back([&] { Paste(window.expression, QStringLiteral("9")); });
        keys.emplace_back([&] { QTest::keyClick(window.expression, Qt::Key_Left); });
        keys.emplace_back([&] { QTest::keyClick(window.expression, Qt::Key_Right); });
        keys.emplace_back(
            [&] { QTest::keyClick(window.expression, Qt::Key_Z, Qt::ControlModifier); });
    }
    // When the result box last changed, and to what.
    QElapsedTimer clock;
    clock.start();
    qint64 changedAt = 0;
    QString changedTo;
    QObject::connect(window.result, &QLineEdit::textChanged, [&](const QString& text) {
        changedAt = clock.nsecsElapsed();
        changedTo = text;
    });
    qint64 lastKeyAt = 0;
    for (const auto& key : keys) {
        PaintCounter boxPaints(window.expression);
        QElapsedTimer timer;
        timer.start();
        lastKeyAt = clock.nsecsElapsed();
        key();
        SpinUntil([&] { return boxPaints.Count() > 0; }, 5000);
        answers.push_back(Milliseconds(timer));
    }
    PrintTimes("10^5-term sum: key -> its edit painted", answers);
    std::printf("%-44s %7.2f ms\n", "10^5-term sum: paste answered", pasteAnswer);

    QElapsedTimer costTimer;
    costTimer.start();
    const QString expected = ExpectedValue(window, live, window.expression->text());
    const double expectedCost = Milliseconds(costTimer);
    const bool shown = SpinUntil([&] { return window.result->text() == expected; }, 5000);
    if (live) {
        std::printf("%-44s %7.2f ms%s (computing it alone: %.2f ms)\n",
                    "10^5-term sum: last key -> live value shown",
                    shown && changedTo == expected
                        ? static_cast<double>(changedAt - lastKeyAt) / 1e6
                        : -1.0,
                    shown ? "" : " (never)", expectedCost);
    }

    QElapsedTimer enterTimer;
    enterTimer.start();
    QTest::keyClick(window.expression, Qt::Key_Return);
    std::printf("%-44s %7.2f ms\n", "10^5-term sum: Enter computes", Milliseconds(enterTimer));
    QTest::qWait(300);
}

double ProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void IdleRun() {
    constexpr int kIdleMs = 3000;
    const double before = ProcessorSeconds();
    QEventLoop idle;
    QTimer::singleShot(kIdleMs, &idle, &QEventLoop::quit);
    idle.exec();
    const double used = ProcessorSeconds() - before;
    std::printf("%-44s %7.2f %% of a core\n", "idle, focus in the box, 3 s",
                100.0 * used / (kIdleMs / 1000.0));
}

}  // namespace

int main(int argc, char** argv) {
    const bool live = !(argc > 1 && std::strcmp(argv[1], "off") == 0);
    QApplication app(argc, argv);
    Window window;
    window.dialog.SetComputeWhileTyping(live);
    std::printf("computing while typing: %s\n", live ? "on" : "off");
    PrintTimes("typing run: key -> edit and value painted", TypingRun(window, live));
    PrintTimes("names typed, list open: key -> edit, value", CompletionRun(window, live));
    LongSumRun(window, live);
    IdleRun();
    return 0;
}
