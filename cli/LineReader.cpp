#include "LineReader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
constexpr std::size_t kChunkSize = std::size_t{1} << 16;
}

LineReader::LineReader(int fd) : m_fd(fd), m_buffer(kChunkSize, '\0') {}

std::optional<std::string_view> LineReader::Next() {
    for (;;) {
        const std::string_view unread(m_buffer.data() + m_begin, m_end - m_begin);
        const std::size_t newline = unread.find('\n', m_searched);
        if (newline != std::string_view::npos) {
            m_begin += newline + 1;
            m_searched = 0;
            return unread.substr(0, newline);
        }
        m_searched = unread.size();
        if (!m_atEnd && Refill())
            continue;
        if (unread.empty())
            return std::nullopt;
        m_begin = m_end;
        m_searched = 0;
        return unread;
    }
}

bool LineReader::Refill() {
    if (m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_begin = 0;
    }
    // A line longer than the buffer makes it grow.
    if (m_buffer.size() - m_end < kChunkSize / 2)
        m_buffer.resize(m_buffer.size() * 2);
    for (;;) {
        const ssize_t got = read(m_fd, m_buffer.data() + m_end, m_buffer.size() - m_end);
        if (got > 0) {
            m_end += static_cast<std::size_t>(got);
            return true;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            m_readError = errno;
        m_atEnd = true;
        return false;
    }
}
