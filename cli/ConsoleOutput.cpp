#include "ConsoleOutput.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr std::size_t kFlushThreshold = std::size_t{1} << 16;

// Returns 0, or the errno of the failure.
int WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

}  // namespace

ConsoleOutput::ConsoleOutput(int resultFd, int errorFd) : m_resultFd(resultFd), m_errorFd(errorFd) {
    m_pending.reserve(kFlushThreshold + 256);
}

ConsoleOutput::~ConsoleOutput() {
    Flush();
}

void ConsoleOutput::Append(Stream stream, std::string_view text) {
    if (stream != m_pendingStream) {
        Flush();
        m_pendingStream = stream;
    }
    m_pending += text;
    if (m_pending.size() >= kFlushThreshold)
        Flush();
}

void ConsoleOutput::Flush() {
    if (m_pending.empty())
        return;
    if (m_pendingStream == Stream::Results) {
        // After a failure the rest would be out of order or lost as well.
        if (m_stdoutError == 0)
            m_stdoutError = WriteAll(m_resultFd, m_pending);
    } else {
        // Nothing better is left to do when standard error fails.
        WriteAll(m_errorFd, m_pending);
    }
    m_pending.clear();
}

bool ConsoleOutput::Finish() {
    Flush();
    if (m_stdoutError == 0)
        return true;
    std::string message = "tallyfern-cli: cannot write to standard output: ";
    message += std::strerror(m_stdoutError);
    message += '\n';
    Error(message);
    Flush();
    return false;
}
