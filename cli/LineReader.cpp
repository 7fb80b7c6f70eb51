#include "LineReader.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {
constexpr std::size_t kChunkSize = std::size_t{1} << 16;

// Where the first LF or CR stands in `text` from `from` on. Two searches
// for one byte each, which the C library makes fast, rather than
// find_first_of, which looks at one byte at a time: a CR is looked for
// only before the first LF.
std::size_t FindLineEnd(std::string_view text, std::size_t from) {
    if (from >= text.size())
        return std::string_view::npos;
    const char* const begin = text.data() + from;
    const std::size_t length = text.size() - from;
    const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', length));
    const std::size_t before = lf ? static_cast<std::size_t>(lf - begin) : length;
    const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', before));
    const char* const found = cr ? cr : lf;
    return found ? static_cast<std::size_t>(found - text.data()) : std::string_view::npos;
}
}  // namespace

LineReader::LineReader(int fd, std::function<void()> beforeRead)
    : m_fd(fd),
      m_beforeRead(std::move(beforeRead)),
      m_buffer(static_cast<char*>(std::malloc(kChunkSize))),
      m_capacity(kChunkSize) {
    if (!m_buffer)
        throw std::bad_alloc();
}

void LineReader::FreeBuffer::operator()(char* buffer) const {
    std::free(buffer);
}

int LineReader::TakeLostLines() {
    const int lost = m_lostLines;
    m_lostLines = 0;
    return lost;
}

std::optional<std::string_view> LineReader::Next() {
    for (;;) {
        const std::string_view unread(m_buffer.get() + m_begin, m_end - m_begin);
        std::size_t ending = FindLineEnd(unread, m_searched);
        // A CR last in the buffer may be the first half of a CRLF: the next
        // byte decides, unless there is none.
        if (ending != std::string_view::npos && ending + 1 == unread.size() &&
            unread[ending] == '\r' && !m_atEnd) {
            m_searched = ending;
            Refill();
            continue;
        }
        if (ending != std::string_view::npos) {
            const std::size_t length =
                unread[ending] == '\r' && ending + 1 < unread.size() && unread[ending + 1] == '\n'
                    ? 2
                    : 1;
            m_begin += ending + length;
            m_searched = 0;
            if (m_losingLine) {
                m_losingLine = false;
                ++m_lostLines;
                continue;
            }
            return unread.substr(0, ending);
        }
        if (m_losingLine) {
            m_begin = m_end;
            m_searched = 0;
        } else {
            m_searched = unread.size();
        }
        if (!m_atEnd && Refill())
            continue;
        if (m_losingLine) {
            m_losingLine = false;
            ++m_lostLines;
            return std::nullopt;
        }
        // Refill may have moved the unread bytes, or the buffer itself: the
        // last line is taken from where they are now.
        const std::string_view last(m_buffer.get() + m_begin, m_end - m_begin);
        if (last.empty())
            return std::nullopt;
        m_begin = m_end;
        m_searched = 0;
        return last;
    }
}

void LineReader::LoseLine() {
    m_losingLine = true;
    m_begin = m_end = 0;
    m_searched = 0;
}

bool LineReader::Refill() {
    if (m_begin > 0) {
        std::memmove(m_buffer.get(), m_buffer.get() + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_begin = 0;
    }
    // A line longer than the buffer makes it grow, as far as memory allows.
    if (m_capacity - m_end < kChunkSize / 2) {
        if (char* const larger = static_cast<char*>(std::realloc(m_buffer.get(), m_capacity * 2))) {
            (void)m_buffer.release();
            m_buffer.reset(larger);
            m_capacity *= 2;
        } else {
            LoseLine();
        }
    }
    if (m_beforeRead)
        m_beforeRead();
    for (;;) {
        const ssize_t got = read(m_fd, m_buffer.get() + m_end, m_capacity - m_end);
        if (got > 0) {
            m_end += static_cast<std::size_t>(got);
            return true;
        }
        if (got < 0 && errno == EINTR)
            continue;
        // A non-blocking descriptor with nothing yet: wait for it.
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd ready{m_fd, POLLIN, 0};
            poll(&ready, 1, -1);
            continue;
        }
        if (got < 0)
            m_readError = errno;
        m_atEnd = true;
        return false;
    }
}
