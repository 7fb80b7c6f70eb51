// The kept file's text, read back whatever became of it, and the merge of
// two windows writing it in turn.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <initializer_list>
#include <utility>

#include "SessionFile.h"
#include "SessionMerge.h"

namespace {

constexpr const char* kHeader = R"({"format":"tallyfern-session","version":1})";

// A kept file's lines, each ended by a line feed, and `tail` unended.
QByteArray Lines(std::initializer_list<const char*> lines, const char* tail = "") {
    QByteArray bytes;
    for (const char* line : lines)
        bytes += QByteArray(line) + '\n';
    return bytes + tail;
}

struct ReadCase {
    const char* why;
    QByteArray bytes;
    QStringList history;
    QStringList variableNames;
    SessionReadProblems problems;
};

TEST(SessionFileTest, EveryValidRecordIsTakenAndWhatWasSkippedIsCounted) {
    const ReadCase cases[] = {
        {"a sound file",
         Lines({kHeader, R"({"history":"1+2"})", R"({"variable":"k","value":"2"})"}),
         {"1+2"},
         {"k"},
         {}},
        {"cut short in the middle of a record: the records before it stay",
         Lines({kHeader, R"({"history":"1+2"})"}, R"({"history":"3*)"),
         {"1+2"},
         {},
         {.damaged = true}},
        {"a corrupt line among sound ones",
         Lines({kHeader, R"({"history":"a"})", "\x01garbage", R"({"history":"b"})"}),
         {"a", "b"},
         {},
         {.damaged = true}},
        {"no header", Lines({R"({"history":"a"})"}), {"a"}, {}, {.damaged = true}},
        {"a newer version: what this one understands, the rest left alone",
         Lines({R"({"format":"tallyfern-session","version":7})", R"({"history":"a"})",
                R"({"unknown":1})"}),
         {"a"},
         {},
         {.newerVersion = true}},
        {"bytes that are not UTF-8 spoil only their own record",
         Lines({kHeader, "{\"history\":\"\xff\xfe\"}", R"({"history":"ok"})"}),
         {"ok"},
         {},
         {.notUtf8 = true, .skippedHistory = 1}},
        {"rows the grid would refuse: a bad name, a name taken by case, a value no number, "
         "an empty or repeated history entry",
         Lines({kHeader, R"({"variable":"1x","value":"1"})", R"({"variable":"rate","value":"1"})",
                R"({"variable":"RATE","value":"2"})", R"({"variable":"k","value":"1+1"})",
                R"({"variable":"m","value":7})", R"({"history":""})", R"j({"history":"sin(1)"})j",
                R"j({"history":"SIN(1)"})j"}),
         {"sin(1)"},
         {"rate"},
         {.skippedHistory = 2, .skippedVariables = 4}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.why);
        const SessionReadResult read = ParseSessionFile(c.bytes);
        EXPECT_EQ(read.session.history, c.history);
        QStringList names;
        for (const KeptVariable& variable : read.session.variables)
            names << variable.name;
        EXPECT_EQ(names, c.variableNames);
        EXPECT_EQ(read.problems.damaged, c.problems.damaged);
        EXPECT_EQ(read.problems.newerVersion, c.problems.newerVersion);
        EXPECT_EQ(read.problems.notUtf8, c.problems.notUtf8);
        EXPECT_EQ(read.problems.skippedHistory, c.problems.skippedHistory);
        EXPECT_EQ(read.problems.skippedVariables, c.problems.skippedVariables);
    }
}

// Lines are written without a JSON document where nothing needs escaping:
// every text still comes out as the document writes it, and reads back.
TEST(SessionFileTest, EveryRecordIsWrittenAsAJsonDocumentWritesIt) {
    const QString texts[] = {QStringLiteral("sin(x)*2"),
                             QStringLiteral("中文 ¼ \u2028\u00ad\x7f/"),
                             QStringLiteral("a\"b"),
                             QStringLiteral("a\\b"),
                             QStringLiteral("a\tb\x01"),
                             QString::fromUtf16(u"a\U0001F600b"),
                             QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b"),
                             QString()};
    KeptSession session;
    QByteArray expected = QByteArray(kHeader) + '\n';
    const auto record = [](std::initializer_list<std::pair<QString, QString>> fields) {
        QJsonObject object;
        for (const auto& [key, value] : fields)
            object.insert(key, value);
        return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    };
    for (const QString& text : texts) {
        const QString entry = QStringLiteral("e") + text;
        session.history.append(entry);
        session.results.insert(SessionKey(entry), text);
        expected += text.isEmpty() ? record({{"history", entry}})
                                   : record({{"history", entry}, {"result", text}});
    }
    for (const QString& text : texts) {
        session.variables.append({QStringLiteral("v") + text, text});
        expected += record({{"value", text}, {"variable", QStringLiteral("v") + text}});
    }
    const QByteArray written = SerializeSession(session);
    EXPECT_EQ(written, expected);
    const SessionReadResult read = ParseSessionFile(written);
    EXPECT_EQ(read.session.history, session.history);
    EXPECT_EQ(read.session.results.value(SessionKey(session.history.first())), texts[0]);
}

TEST(SessionFileTest, AVersionIsComparedAsTheNumberItIsHoweverItIsWritten) {
    const struct {
        const char* version;
        bool newer;
        bool damaged;
    } cases[] = {
        {"1", false, false},    {"2", true, false},          {R"("99")", true, false},
        {"1e300", true, false}, {"2147483648", true, false}, {R"("one")", false, true},
        {"null", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        const QByteArray header =
            QByteArray(R"({"format":"tallyfern-session","version":)") + c.version + "}";
        const SessionReadResult read =
            ParseSessionFile(Lines({header.constData(), R"({"history":"a"})"}));
        EXPECT_EQ(read.session.history, QStringList{"a"});
        EXPECT_EQ(read.problems.newerVersion, c.newer);
        EXPECT_EQ(read.problems.damaged, c.damaged);
    }
}

TEST(SessionFileTest, TheOldestHistoryGoesFirstBeyondTheLimitsAndAnOversizedEntryAlone) {
    const auto numbers = [](int from, int to) {
        QStringList list;
        for (int i = from; i < to; ++i)
            list << QString::number(i);
        return list;
    };
    const QString huge(kMaxHistoryCharacters + 1, QLatin1Char('9'));
    const QString half(kMaxHistoryCharacters / 2, QLatin1Char('8'));
    const QString overHalf = half + "+1";
    const struct {
        const char* why;
        QStringList history, kept;
    } cases[] = {
        {"the newest entries up to the count", numbers(0, kMaxHistoryEntries + 5),
         numbers(5, kMaxHistoryEntries + 5)},
        {"one long computation, the newest, keeps the entries before it", numbers(0, 50) << huge,
         numbers(0, 50)},
        {"an entry larger than all the room there is", {"1", huge, "2"}, {"1", "2"}},
        {"an entry too large for the room the newer ones leave",
         {"1", overHalf, half},
         {"1", half}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        QStringList history = c.history;
        LimitHistory(history);
        EXPECT_EQ(history, c.kept);
    }
}

TEST(SessionFileTest, ResultsReadBesideTheirEntriesAndAFileWithoutThemStillLoads) {
    const struct {
        const char* why;
        QByteArray bytes;
        QStringList history;
        QStringList results;
    } cases[] = {
        {"a file written before results were kept",
         Lines({kHeader, R"({"history":"6*7"})", R"({"history":"1+1"})"}),
         {"6*7", "1+1"},
         {"", ""}},
        {"results beside their entries",
         Lines({kHeader, R"({"history":"6*7","result":"42"})", R"({"history":"x"})"}),
         {"6*7", "x"},
         {"42", ""}},
        {"a result that is no text, or not UTF-8, goes alone",
         Lines(
             {kHeader, R"({"history":"a","result":4})", "{\"history\":\"b\",\"result\":\"\xff\"}"}),
         {"a", "b"},
         {"", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const SessionReadResult read = ParseSessionFile(c.bytes);
        EXPECT_EQ(read.session.history, c.history);
        EXPECT_EQ(read.session.HistoryResults(), c.results);
        EXPECT_EQ(read.problems.skippedHistory, 0);
        // Written again, it reads back the same.
        const KeptSession again = ParseSessionFile(SerializeSession(read.session)).session;
        EXPECT_EQ(again.history, c.history);
        EXPECT_EQ(again.HistoryResults(), c.results);
    }
}

TEST(SessionFileTest, TwoWindowsWritingInTurnKeepEachOthersWork) {
    const KeptVariable a1{"a", "1"}, a2{"a", "2"}, a3{"A", "3"}, b{"b", "5"}, c{"c", "6"};
    const struct {
        const char* why;
        KeptSession disk, mine, base, merged;
    } cases[] = {
        {"both histories, in the order they were written",
         {{"x1", "y1"}, {}},
         {{"x1", "x2"}, {}},
         {{"x1"}, {}},
         {{"x1", "y1", "x2"}, {}}},
        {"history cleared here goes; what the other window added since stays",
         {{"x1", "y1"}, {}},
         {{}, {}},
         {{"x1"}, {}},
         {{"y1"}, {}}},
        {"an entry the other window removed does not come back",
         {{"y1"}, {}},
         {{"x1", "x2"}, {}},
         {{"x1"}, {}},
         {{"y1", "x2"}, {}}},
        {"many entries added at once: each once, whatever its letters' case",
         {{"y1", "X3"}, {}},
         {{"x1", "x2", "x3", "x4", "x5", "x6", "x7", "X2", "x8", "x9", "y1"}, {}},
         {{}, {}},
         {{"y1", "X3", "x1", "x2", "x4", "x5", "x6", "x7", "x8", "x9"}, {}}},
        {"a variable changed here wins over the file's",
         {{}, {a2}},
         {{}, {a3}},
         {{}, {a1}},
         {{}, {a3}}},
        {"a variable left alone here takes the other window's value",
         {{}, {a2, b}},
         {{}, {a1}},
         {{}, {a1}},
         {{}, {a2, b}}},
        {"a variable removed here goes; one added there stays",
         {{}, {a1, b, c}},
         {{}, {b}},
         {{}, {a1, b}},
         {{}, {b, c}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const KeptSession merged = MergeSessions(c.disk, c.mine, c.base);
        EXPECT_EQ(merged.history, c.merged.history);
        EXPECT_EQ(merged.variables, c.merged.variables);
    }
}

TEST(SessionFileTest, AMergeKeepsEachEntrysResultThisWindowsLast) {
    const KeptSession disk{{"x1", "y1"}, {}, {{"x1", "1"}, {"y1", "2"}}};
    const KeptSession mine{{"X1", "x2"}, {}, {{"x1", "10"}, {"x2", "3"}}};
    const KeptSession merged = MergeSessions(disk, mine, {{"x1"}, {}, {}});
    EXPECT_EQ(merged.history, QStringList({"x1", "y1", "x2"}));
    EXPECT_EQ(merged.HistoryResults(), QStringList({"10", "2", "3"}));
}

}  // namespace
