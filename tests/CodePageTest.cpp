// Conversions between code page 936, UTF-8 and the locale's encoding.

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "CodePage.h"
#include "ExpMessages.h"

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD

TEST(CodePage, ChineseTextRoundTrips) {
    struct Case {
        std::string utf8;
        std::string gbk;
    };
    // The engine's own message constants serve as the reference bytes.
    const Case cases[] = {
        {"括号不匹配", ExpMessages::kBracket},
        {"该变量名已存在。", ExpMessages::kNameExists},
        {"变量名中应该只含英文字母、数字或下划线。", ExpMessages::kNameOtherBytes},
        {"在以下位置发生 \"", ExpMessages::kErrorPrefix},
        {"x=变量+1", "x=\xb1\xe4\xc1\xbf+1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Utf8ToCodePage936(c.utf8), c.gbk);
        EXPECT_EQ(CodePage936ToUtf8(c.gbk), c.utf8);
    }
}

TEST(CodePage, EveryDoubleByteCharacterRoundTripsAndOthersCostOneByte) {
    // Each pair either is one character that converts back to the same two
    // bytes, or its first byte alone is refused and the second is read anew.
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x00; trail <= 0xFF; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string utf8 = CodePage936ToUtf8(pair);
            if (utf8.starts_with(kReplacement)) {
                ASSERT_EQ(utf8, kReplacement + CodePage936ToUtf8(pair.substr(1)))
                    << lead << ' ' << trail;
                continue;
            }
            ++characters;
            ASSERT_EQ(Utf8ToCodePage936(utf8), pair) << lead << ' ' << trail;
        }
    }
    // GBK's 21886 characters plus its user-defined areas.
    EXPECT_GT(characters, 21000);
}

TEST(CodePage, CharactersWithoutAFormBecomeQuestionMarks) {
    struct Case {
        std::string utf8;
        std::string expected;
    };
    const Case cases[] = {
        {"1+😀", "1+?"},
        {"㐀", "?"},                    // CJK extension A, outside GBK
        {"€", "?"},                     // a lone 0x80 would read back as no character
        {"a\xF3\xA0\x81\x81z", "a?z"},  // a tag character, which iconv would drop
        {"变😀量", "\xb1\xe4?\xc1\xbf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Utf8ToCodePage936(c.utf8), c.expected);
    }
}

TEST(CodePage, InvalidUtf8CostsOneQuestionMarkPerByte) {
    struct Case {
        std::string utf8;
        std::string expected;
    };
    const Case cases[] = {
        {"\x80", "?"},  // stray continuation byte
        {"\xE5\x8F"
         "A",
         "??A"},                            // sequence cut short
        {"\xE5\x8F", "??"},                 // cut short at the end
        {"\xC0\xAF", "??"},                 // overlong '/'
        {"\xED\xA0\x80", "???"},            // surrogate
        {"\xF4\x90\x80\x80", "????"},       // above U+10FFFF
        {"\xFF\xFE", "??"},                 // never in UTF-8
        {"\xE5\x8F\x98\x80", "\xb1\xe4?"},  // 变, then a stray byte
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.utf8));
        EXPECT_EQ(Utf8ToCodePage936(c.utf8), c.expected);
    }
}

TEST(CodePage, DecodingLosesOnlyTheBytesItCannotRead) {
    struct Case {
        std::string bytes;
        std::string expected;
    };
    const Case cases[] = {
        // An excerpt that begins on the trail byte of 。 (A1 A3).
        {"\xa3"
         "1+2",
         kReplacement + "1+2"},
        // One that ends on the lead byte of 变 (B1 E4).
        {"1+\xb1", "1+" + kReplacement},
        {"\xb1\xe4\xc1", "变" + kReplacement},
        // A lead byte followed by a byte that cannot trail.
        {"\xb1"
         "1",
         kReplacement + "1"},
        {"\xb1\x7f", kReplacement + "\x7f"},
        {std::string("\xb1\0x", 3), kReplacement + std::string("\0x", 2)},
        // Bytes that never begin a character here.
        {"\x80", kReplacement},
        {"\x80"
         "A",
         kReplacement + "A"},
        {"\x80\x80", kReplacement + kReplacement},
        {"\xff"
         "1",
         kReplacement + "1"},
        // NUL is an ordinary byte.
        {std::string("1\0\xb1\xe4", 4), std::string("1\0", 2) + "变"},
        // 0x80 as a trail byte is fine: 亐 is 81 80.
        {"\x81\x80", "亐"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(CodePage936ToUtf8(c.bytes), c.expected);
    }
}

TEST(CodePage, AsciiPassesUnchangedBothWays) {
    std::string ascii;
    for (int c = 0; c < 0x80; ++c)
        ascii += static_cast<char>(c);
    EXPECT_TRUE(IsAscii(ascii));
    EXPECT_FALSE(IsAscii("abc\x80"));
    EXPECT_EQ(Utf8ToCodePage936(ascii), ascii);
    EXPECT_EQ(CodePage936ToUtf8(ascii), ascii);
    EXPECT_EQ(LocaleToUtf8(ascii), ascii);
    EXPECT_EQ(Utf8ToLocale(ascii), ascii);
    EXPECT_EQ(Utf8ToCodePage936(""), "");
}

// Switches the process's locale for the length of a test.
class ScopedLocale {
  public:
    explicit ScopedLocale(const char* name) : m_previous(std::setlocale(LC_ALL, nullptr)) {
        m_active = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~ScopedLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }
    bool Active() const { return m_active; }

  private:
    std::string m_previous;
    bool m_active = false;
};

TEST(CodePage, Utf8AndCLocalesPassTextThrough) {
    for (const char* name : {"C", "C.UTF-8"}) {
        SCOPED_TRACE(name);
        const ScopedLocale locale(name);
        ASSERT_TRUE(locale.Active());
        // Even invalid bytes: the code page conversion deals with them.
        const std::string text = "变\xff😀";
        EXPECT_EQ(LocaleToUtf8(text), text);
        EXPECT_EQ(Utf8ToLocale(text), text);
    }
}

TEST(CodePage, Gb18030LocaleConvertsBothWays) {
    const ScopedLocale locale("zh_CN.GB18030");
    if (!locale.Active())
        GTEST_SKIP() << "locale zh_CN.GB18030 is missing; scripts/setup.sh generates it";
    EXPECT_EQ(LocaleToUtf8("1+\xb1\xe4"), "1+变");
    EXPECT_EQ(Utf8ToLocale("1+变"), "1+\xb1\xe4");
    // GB18030 has every character, 㐀 in four bytes.
    EXPECT_EQ(Utf8ToLocale("㐀"), "\x81\x39\xEE\x39");
    EXPECT_EQ(LocaleToUtf8("\x81\x39\xEE\x39"), "㐀");
    // Bytes that are no GB18030 character cost one U+FFFD each.
    EXPECT_EQ(LocaleToUtf8("a\xff"
                           "b"),
              "a" + kReplacement + "b");
    EXPECT_EQ(LocaleToUtf8("a\xb1"), "a" + kReplacement);
    // Invalid UTF-8 going out becomes '?'.
    EXPECT_EQ(Utf8ToLocale("\xE5\x8F"
                           "x变"),
              "??x\xb1\xe4");
}

TEST(CodePage, ConvertersFollowALocaleChange) {
    {
        const ScopedLocale locale("zh_CN.GB18030");
        if (!locale.Active())
            GTEST_SKIP() << "locale zh_CN.GB18030 is missing; scripts/setup.sh generates it";
        EXPECT_EQ(Utf8ToLocale("变"), "\xb1\xe4");
    }
    const ScopedLocale utf8("C.UTF-8");
    EXPECT_EQ(Utf8ToLocale("变"), "变");
}

}  // namespace
