// Text beyond ASCII on its way through the console program: from the
// locale's encoding into UTF-8 and back, and numbers that stay the
// same whatever the locale.

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "CliTestSupport.h"

namespace {

using CliProcess::CliRun;
using CliProcess::ErrorBox;
using CliProcess::RunCli;

// Whether the system has the locale; the test script generates the ones the
// tests use.
bool HasLocale(const char* name) {
    locale_t locale = newlocale(LC_ALL_MASK, name, nullptr);
    if (!locale)
        return false;
    freelocale(locale);
    return true;
}

class CliEncodingTest : public CliProcess::CliFixture {};

TEST_F(CliEncodingTest, ExcerptShowsCharactersBackInTheTerminalsEncoding) {
    struct Case {
        std::string expression;
        std::string err;
    };
    const Case cases[] = {
        {"1+变", ErrorBox("操作数", "变")},
        {"1+变量*2", ErrorBox("操作数", "变量*2")},
        // No code page 936 form: shown as typed, and one byte of the ten.
        {"1+😀", ErrorBox("操作数", "😀")},
        {"1+㐀", ErrorBox("操作数", "㐀")},
        {"1+€", ErrorBox("操作数", "€")},
        {"1+😀23456789变", ErrorBox("操作数", "😀23456789\xEF\xBF\xBD")},
        // Invalid UTF-8: one '?' per byte.
        {"1+\xE5\x8F", ErrorBox("操作数", "??")},
        // The ten-byte excerpt ends on the first byte of 变.
        {"1+*23456789变", ErrorBox("操作数", "*23456789\xEF\xBF\xBD")},
        // It begins on the second byte of 中: that byte alone is U+FFFD, and
        // the rest pairs as the input does.
        {"x中中中中中中", ErrorBox("表达式", "\xEF\xBF\xBD中中中中\xEF\xBF\xBD")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        const CliRun run = RunCli({c.expression});
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.status, 1);
    }
}

TEST_F(CliEncodingTest, TheCLocaleIsTakenAsUtf8) {
    const CliRun run = RunCli({"1+变"}, "", {"LC_ALL=C"});
    EXPECT_EQ(run.err, ErrorBox("操作数", "变"));
    const CliRun rejected = RunCli({"-v", "1a=1", "1"}, "", {"LC_ALL=POSIX"});
    EXPECT_EQ(rejected.err, "tallyfern-cli: -v 1a=1: 变量名应该以英文字母或下划线开头。\n");
}

TEST_F(CliEncodingTest, DecimalCommaLocaleChangesNoNumber) {
    if (!HasLocale("de_DE.UTF-8"))
        GTEST_SKIP() << "locale de_DE.UTF-8 is missing; scripts/setup.sh generates it";
    const std::vector<std::string> env{"LC_ALL=de_DE.UTF-8"};
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{"1.5*2"}, "3\n"},   {{"0.1+0.2"}, "0.3\n"},          {{"1e20"}, "1e+020\n"},
        {{"1/8"}, "0.125\n"}, {{"-v", "x=2.5", "x*2"}, "5\n"}, {{"-w", "40", "2.5"}, "2.5\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CliRun run = RunCli(c.args, "", env);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.status, 0);
    }
    const CliRun comma = RunCli({"-v", "x=2,5", "x"}, "", env);
    // German asks for the English texts.
    EXPECT_EQ(comma.err, "tallyfern-cli: -v x=2,5: The value must be a number.\n");
    EXPECT_EQ(comma.status, 2);
    const CliRun lines = RunCli({}, "1.5*2\n0.25\n", env);
    EXPECT_EQ(lines.out, "3\n0.25\n");
}

// Chinese under a Chinese locale and under C/POSIX, English under any other
// language; LC_ALL before LC_MESSAGES before LANG, an empty one skipped.
TEST_F(CliEncodingTest, MessagesFollowTheLocalesLanguage) {
    if (!HasLocale("de_DE.UTF-8"))
        GTEST_SKIP() << "locale de_DE.UTF-8 is missing; scripts/setup.sh generates it";
    const std::string chinese = ErrorBox("变量 abc 未定义", "abc");
    const std::string english = "\"variable abc is not defined\" error here:\n\n    abc\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"LC_ALL=de_DE.UTF-8"}, english},
        {{"LC_ALL=", "LANG=de_DE.UTF-8"}, english},
        {{"LC_ALL=", "LC_MESSAGES=zh_CN.UTF-8", "LANG=de_DE.UTF-8"}, chinese},
        {{"LC_ALL=", "LC_MESSAGES=", "LANG=zh_TW.UTF-8"}, chinese},
        // A language whose locale is not installed still gets English.
        {{"LC_ALL=", "LC_MESSAGES=", "LANG=sv_SE.UTF-8"}, english},
        {{"LC_ALL=POSIX"}, chinese},
        {{"LC_ALL=", "LC_MESSAGES=", "LANG="}, chinese},
    };
    for (const auto& [env, err] : cases) {
        SCOPED_TRACE(testing::PrintToString(env));
        EXPECT_EQ(RunCli({"abc"}, "", env).err, err);
    }
}

TEST_F(CliEncodingTest, Gb18030TerminalGetsGb18030Text) {
    if (!HasLocale("zh_CN.GB18030"))
        GTEST_SKIP() << "locale zh_CN.GB18030 is missing; scripts/setup.sh generates it";
    const std::vector<std::string> env{"LC_ALL=zh_CN.GB18030"};
    // 在以下位置发生 "操作数" 错误 in GB18030, which agrees with code page 936
    // on these characters.
    const std::string box =
        "\xd4\xda\xd2\xd4\xcf\xc2\xce\xbb\xd6\xc3\xb7\xa2\xc9\xfa \"\xb2\xd9\xd7\xf7\xca\xfd\" "
        "\xb4\xed\xce\xf3\n\n    ";
    // 1+变 typed in GB18030.
    const CliRun typed = RunCli({}, "1+\xb1\xe4\n", env);
    EXPECT_EQ(typed.err, box + "\xb1\xe4\n");
    EXPECT_EQ(typed.status, 1);
    // U+3400 is a GB18030 four-byte character outside code page 936: it
    // comes back as typed.
    const CliRun outside = RunCli({"1+\x81\x39\xEE\x39"}, "", env);
    EXPECT_EQ(outside.err, box + "\x81\x39\xEE\x39\n");
    // The variable checks' messages come in GB18030 too: 该变量名已存在。
    const CliRun duplicate = RunCli({"-v", "a=1", "-v", "A=1", "a"}, "", env);
    EXPECT_EQ(duplicate.err,
              "tallyfern-cli: -v A=1: "
              "\xb8\xc3\xb1\xe4\xc1\xbf\xc3\xfb\xd2\xd1\xb4\xe6\xd4\xda\xa1\xa3\n");
}

}  // namespace
