// The console program's natural form: after each result, the drawing of the
// expression cut to the line width, segments separated by an empty line.

#include <gtest/gtest.h>

#include <string>

#include "CliTestSupport.h"
#include "TestSupport.h"

namespace {

using CliProcess::CliRun;
using CliProcess::ErrorBox;
using CliProcess::RunCli;

class CliNaturalForm : public CliProcess::CliFixture {};

TEST_F(CliNaturalForm, SegmentsAreSeparatedByOneEmptyLine) {
    const CliRun run = RunCli({"-n", "-w", "10", "1+2+3+4+5"});
    EXPECT_EQ(run.out, "15\n1 + 2 + 3\n\n+ 4 + 5\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.status, 0);
}

TEST_F(CliNaturalForm, ALeadingMinusThatDoesNotFitStartsWithAnEmptyLine) {
    const std::string digits(60, '7');
    const CliRun run = RunCli({"-n", "--", "-" + digits + "+2"});
    EXPECT_EQ(run.out, "-7.77777777777778e+059\n\n- " + digits + "\n\n+ 2\n");
    EXPECT_EQ(run.status, 0);
}

TEST_F(CliNaturalForm, EveryLineOfInputGetsItsOwnDrawing) {
    const CliRun run = RunCli({"--natural"}, "1/4\n\n2^x\n3*\n5-1\n");
    EXPECT_EQ(run.out, "0.25\n 1 \n---\n 4 \n4\n5 - 1\n");
    EXPECT_EQ(run.status, 1);

    const CliRun withVariable = RunCli({"--natural", "-v", "x=3"}, "1/4\n2^x\n5-1\n");
    EXPECT_EQ(withVariable.out, "0.25\n 1 \n---\n 4 \n8\n x\n2 \n4\n5 - 1\n");
    EXPECT_EQ(withVariable.err, "");
    EXPECT_EQ(withVariable.status, 0);
}

TEST_F(CliNaturalForm, AFailedComputationDrawsNothing) {
    const CliRun run = RunCli({"-n"}, "1/0\n1+\n2*3\n");
    EXPECT_EQ(run.out, "6\n2 * 3\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(ErrorBox("除数为零", "1/0")), std::string::npos) << run.err;
}

TEST_F(CliNaturalForm, ADrawingTooLargeToShowIsReportedAndTheResultStands) {
    std::string tower;
    for (int i = 0; i < 20'000; ++i)
        tower += "1^(";
    tower += "1" + std::string(20'000, ')');
    const CliRun run = RunCli({"-n"}, tower + "\n1+1\n");
    EXPECT_EQ(run.out, "1\n2\n1 + 1\n");
    EXPECT_EQ(run.err, "tallyfern-cli: the natural form is too large to draw\n");
    EXPECT_EQ(run.status, 0);
}

// Shapes whose bars take cells as the square of their size, from a tower
// whose every base stands between bars to brackets around a tall fraction:
// refused before they are drawn, where drawing bar after bar took minutes.
TEST_F(CliNaturalForm, DrawingsWhoseBarsOutgrowTheLimitAreRefusedAtOnce) {
    const std::string tallFraction = TestSupport::Nest("1/(", "1", 3'000);
    for (const std::string& text :
         {TestSupport::Repeat("1^", 100'000) + "1", TestSupport::Repeat("1^", 1'000'000) + "1",
          TestSupport::Nest("(", tallFraction, 300'000)}) {
        SCOPED_TRACE(text.substr(0, 8));
        const CliRun run = RunCli({"-n"}, text + "\n1+1\n");
        EXPECT_EQ(run.out, "1\n2\n1 + 1\n");
        EXPECT_EQ(run.err, "tallyfern-cli: the natural form is too large to draw\n");
        EXPECT_EQ(run.status, 0);
    }
}

}  // namespace
