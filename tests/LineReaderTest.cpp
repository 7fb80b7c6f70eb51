// The line reader against the plain split it must agree with, however the
// input arrives: in one piece, a byte at a time, or in records of any size
// that make lines cross one or many refills of its buffer.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "LineReader.h"

namespace {

// Lines at LF, CRLF or a lone CR; the last one counts when it has any byte.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') {
            line += text[i];
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// What LineReader gives for `text` written in records of the given sizes
// (cycled, at most 32 KiB each). A sequenced-packet socket hands each record
// to one read, so the reader sees exactly these pieces.
std::vector<std::string> ReadLines(const std::string& text,
                                   const std::vector<std::size_t>& records) {
    int ends[2];
    EXPECT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET, 0, ends), 0);
    std::thread writer([&] {
        std::size_t from = 0;
        for (std::size_t i = 0; from < text.size(); ++i) {
            const std::size_t size = std::min(records[i % records.size()], text.size() - from);
            EXPECT_EQ(write(ends[1], text.data() + from, size), static_cast<ssize_t>(size));
            from += size;
        }
        close(ends[1]);
    });
    std::vector<std::string> lines;
    LineReader reader(ends[0]);
    while (const auto line = reader.Next())
        lines.emplace_back(*line);
    EXPECT_EQ(reader.ReadError(), 0);
    writer.join();
    close(ends[0]);
    return lines;
}

TEST(LineReader, AgreesWithAPlainSplit) {
    const std::string longLine(100'000, '7');  // several refills, larger than the buffer
    const std::string texts[] = {
        "",
        "\n",
        "1+1",
        "1+1\n",
        "1+1\n1000000/8",  // the last line longer than the text before it
        "1\r\n2\r\n",
        "1\r2\r3\r",  // the old line ending
        "1\r\r\n\n\r",
        longLine + "\r" + longLine + "\r\n3",
        "\n\n3\n\n",
        "1\n" + longLine,
        longLine + "\n" + longLine + "\n2",
        std::string("a\0b\nc", 5),
    };
    // Records stay within the 32 KiB the reader always has room for: a
    // larger one would be cut by the socket.
    const std::vector<std::size_t> recordSizes[] = {{32768}, {1}, {3, 1, 7}, {32768, 17}, {1000}};
    for (const std::string& text : texts) {
        for (const auto& records : recordSizes) {
            SCOPED_TRACE(testing::Message()
                         << "text of " << text.size() << " bytes, first record " << records[0]);
            EXPECT_EQ(ReadLines(text, records), SplitLines(text));
        }
    }
}

TEST(LineReader, AgreesWithAPlainSplitOnRandomInput) {
    std::mt19937 random(2026);
    for (int round = 0; round < 40; ++round) {
        std::string text;
        const int lines = std::uniform_int_distribution(0, 30)(random);
        for (int i = 0; i < lines; ++i) {
            // Mostly short lines, now and then one that spans refills.
            const int length = random() % 8 == 0 ? std::uniform_int_distribution(0, 150'000)(random)
                                                 : std::uniform_int_distribution(0, 40)(random);
            text.append(static_cast<std::size_t>(length), static_cast<char>('0' + i % 10));
            if (i + 1 < lines || random() % 2 == 0)
                text += std::array{"\n", "\r", "\r\n"}[random() % 3];
        }
        std::vector<std::size_t> records(5);
        for (std::size_t& size : records)
            size = std::uniform_int_distribution<std::size_t>(1, 32768)(random);
        SCOPED_TRACE(round);
        EXPECT_EQ(ReadLines(text, records), SplitLines(text));
    }
}

}  // namespace
