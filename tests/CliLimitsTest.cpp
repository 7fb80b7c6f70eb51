// The console program on input at the edges: lines of tens of megabytes,
// memory running out, and locales that must change no result.

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "TestSupport.h"

namespace {

using CliProcess::CliRequest;
using CliProcess::CliRun;
using CliProcess::ErrorBox;
using CliProcess::RunCli;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

constexpr std::size_t kFiftyMegabytes = 50'000'000;

class CliLimitsTest : public CliProcess::CliFixture {};

// Lines of 50 MB in the shapes that cost the least memory per byte: each is
// computed or refused, and the next line still computes.
TEST_F(CliLimitsTest, FiftyMegabyteLinesAreComputedOrRefused) {
    const std::size_t size = TestSupport::kSlowBuild ? kFiftyMegabytes / 10 : kFiftyMegabytes;
    struct Case {
        const char* name;
        std::string line;
        std::string out;
        std::string err;
    };
    const Case cases[] = {
        {"blanks", std::string(size, ' ') + "1+1", "2\n4\n", ""},
        {"one number", std::string(size, '9'), "4\n", ErrorBox("越界", "9999999999")},
        {"parentheses", std::string(size, '('), "4\n", ErrorBox("表达式", "((((((((((")},
        {"bytes beyond ASCII", std::string(size, '\xff'), "4\n", ErrorBox("操作数", "??????????")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = RunCli({}, c.line + "\n2+2\n");
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.status, c.err.empty() ? 0 : 1);
    }
}

// Memory that runs out during a computation is reported, everything taken
// for it is given back, and the next line computes.
TEST_F(CliLimitsTest, RunningOutOfMemoryIsReported) {
    if (kAddressSanitizer)
        GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
    CliRequest request;
    // A sum is computed holding two values, whatever its length; a million
    // nested levels each hold theirs, some 40 MB in all.
    std::string nested;
    for (int i = 1; i < 1'000'000; ++i)
        nested += "1+(";
    nested += "1" + std::string(999'999, ')');
    request.input = nested + "\n1+1\n" + nested + "\n";
    request.memoryLimitKb = 24'000;
    const CliRun run = RunCli(request);
    EXPECT_EQ(run.out, "2\n");
    const std::string message = "tallyfern-cli: out of memory; the expression was not computed\n";
    EXPECT_EQ(run.err, message + message);
    EXPECT_EQ(run.status, 1);
}

// A line longer than the memory can hold is read to its end and passed
// over; the lines after it compute.
TEST_F(CliLimitsTest, ALineTooLongToHoldIsPassedOver) {
    if (kAddressSanitizer)
        GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
    CliRequest request;
    request.input = "1+1\n" + std::string(100'000'000, ' ') + "2+2\n3+3";
    request.memoryLimitKb = 60'000;
    const CliRun run = RunCli(request);
    EXPECT_EQ(run.out, "2\n6\n");
    EXPECT_EQ(run.err, "tallyfern-cli: out of memory; a line too long to hold was not computed\n");
    EXPECT_EQ(run.status, 1);
}

// When memory runs out while the drawing is made, the result printed before
// it stands and only the drawing is reported missing.
TEST_F(CliLimitsTest, RunningOutOfMemoryWhileDrawingKeepsTheResult) {
    if (kAddressSanitizer)
        GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
    // A million terms compute in about 55 MB of address space and draw in
    // about 110 MB.
    std::string sum = "1";
    for (int i = 1; i < 1'000'000; ++i)
        sum += "+1";
    CliRequest request;
    request.args = {"--natural"};
    request.input = sum + "\n";
    request.memoryLimitKb = 80'000;
    const CliRun run = RunCli(request);
    EXPECT_TRUE(run.out.starts_with("1000000\n")) << run.out.substr(0, 100);
    EXPECT_EQ(run.err, "tallyfern-cli: out of memory; the natural form was not drawn\n");
    EXPECT_EQ(run.status, 1);
}

// Whatever the locale, results and drawings are the same bytes.
TEST_F(CliLimitsTest, LocalesChangeNoResult) {
    const std::string input =
        "1.5*2\n0.1+0.2\n1e20\n1/3\n-2^0.5\n2^-1074\n1e308*9.99\n123456789012345678\n"
        "sin(1)/cos(2)+log(2,1024)\n(1+2)/(3-4.5)^2\n";
    const std::vector<std::string> args{"--natural", "--width", "30"};
    const CliRun reference = RunCli(args, input, {"LC_ALL=C"});
    ASSERT_FALSE(reference.out.empty());
    for (const char* locale : {"C.UTF-8", "de_DE.UTF-8", "zh_CN.GB18030"}) {
        SCOPED_TRACE(locale);
        if (locale_t l = newlocale(LC_ALL_MASK, locale, nullptr))
            freelocale(l);
        else
            GTEST_SKIP() << "locale " << locale << " is missing; scripts/setup.sh generates it";
        const CliRun run = RunCli(args, input, {std::string("LC_ALL=") + locale});
        EXPECT_EQ(run.out, reference.out);
        EXPECT_EQ(run.status, reference.status);
    }
}

}  // namespace
