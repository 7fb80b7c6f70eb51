// The history as the files it is taken away in.
#include <gtest/gtest.h>

#include "HistoryExport.h"

namespace {

TEST(HistoryExportTest, EachFormatKeepsEveryEntryWhole) {
    const QList<HistoryRow> rows = {
        {"6*7", "42"}, {"max(1,2)", "2"}, {"\"q\"", ""}, {"a\nb", "1"}, {"x|y*_z_", "<b>"},
    };
    const struct {
        HistoryFormat format;
        QString expected;
    } cases[] = {
        {HistoryFormat::Text, "6*7\nmax(1,2)\n\"q\"\na b\nx|y*_z_\n"},
        {HistoryFormat::Csv,
         "expr,\"res,ult\"\r\n6*7,42\r\n\"max(1,2)\",2\r\n\"\"\"q\"\"\",\r\n\"a\nb\",1\r\n"
         "x|y*_z_,<b>\r\n"},
        {HistoryFormat::Markdown,
         "| expr | res,ult |\n| --- | --- |\n| 6\\*7 | 42 |\n| max(1,2) | 2 |\n| \"q\" |  |\n"
         "| a b | 1 |\n| x\\|y\\*\\_z\\_ | \\<b\\> |\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.format));
        EXPECT_EQ(FormatHistory(rows, c.format, "expr", "res,ult"), c.expected);
    }
}

}  // namespace
