#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

// Splits what a file descriptor delivers into lines, reading in large
// chunks. A line ends at LF, CRLF or a CR alone (the old line ending); it may
// hold any other bytes, NUL among them, and the last one needs no ending.
class LineReader {
  public:
    // `beforeRead`, when given, runs before each read from the descriptor,
    // which may wait for input: the caller writes out what it holds.
    explicit LineReader(int fd, std::function<void()> beforeRead = {});

    // The next line without its '\n', valid until the next call; none at the
    // end of the input or after a read error. A line longer than the memory
    // left can hold is passed over (read to its end and dropped), and counted
    // for TakeLostLines.
    std::optional<std::string_view> Next();

    // How many lines were passed over since the last call; they came before
    // the line Next returned last.
    int TakeLostLines();

    // The errno of a failed read, or 0.
    int ReadError() const { return m_readError; }

  private:
    // Moves the unread part to the front and reads more behind it; false at
    // the end of the input or on an error.
    bool Refill();
    // Drops the unread part of a line that does not fit, and passes over the
    // rest of it as it arrives.
    void LoseLine();

    int m_fd;
    std::function<void()> m_beforeRead;
    // Not cleared when it grows: the pages of a long line's buffer that
    // the line never reaches take no memory.
    // From malloc, so that realloc can grow it: a large block then moves
    // without a copy, and its pages are not written a second time.
    struct FreeBuffer {
        void operator()(char* buffer) const;
    };
    std::unique_ptr<char[], FreeBuffer> m_buffer;
    std::size_t m_capacity;
    std::size_t m_begin = 0;     // first unread byte
    std::size_t m_end = 0;       // end of the bytes read
    std::size_t m_searched = 0;  // bytes after m_begin known to hold no '\n'
    bool m_atEnd = false;
    bool m_losingLine = false;  // the bytes up to the next '\n' are dropped
    int m_lostLines = 0;
    int m_readError = 0;
};
