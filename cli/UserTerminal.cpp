#include "UserTerminal.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>

#include "ConsoleOutput.h"

UserTerminal::UserTerminal(ConsoleOutput& output)
    : m_output(output), m_isStandardOutput(isatty(STDOUT_FILENO) == 1) {
    if (m_isStandardOutput)
        return;
    // By name rather than /dev/tty: the session's controlling terminal need
    // not be the one standard input reads.
    char name[PATH_MAX];
    if (ttyname_r(STDIN_FILENO, name, sizeof name) == 0)
        m_separate = open(name, O_WRONLY | O_NOCTTY | O_CLOEXEC);
}

UserTerminal::~UserTerminal() {
    if (m_separate >= 0)
        close(m_separate);
}

void UserTerminal::Show(std::string_view text) {
    if (m_isStandardOutput) {
        m_output.Result(text);
        m_output.Flush();
        return;
    }
    m_output.Flush();
    while (m_separate >= 0 && !text.empty()) {
        const ssize_t written = write(m_separate, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}
