#include "LineEditor.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include "ConsoleText.h"

#if __has_include(<editline/readline.h>)
#include <editline/readline.h>
#define TALLYFERN_HAVE_EDITLINE 1
#endif

namespace {

// The library's run-time name on Debian (package libedit2).
constexpr const char* kLibraryName = "libedit.so.2";

struct FreeWithCFree {
    void operator()(char* text) const { std::free(text); }
};

}  // namespace

#ifdef TALLYFERN_HAVE_EDITLINE

namespace {

// The first line of libedit's history file.
constexpr std::string_view kHistoryMark = "_HiStOrY_V2_";

// libedit reads and writes its history only by a file's name, and does not
// say when a write fails: it is handed a file in memory, and the program
// reads and writes the real one itself.
class MemoryFile {
  public:
    MemoryFile() : m_fd(memfd_create("tallyfern-history", MFD_CLOEXEC)) {}
    ~MemoryFile() {
        if (m_fd >= 0)
            close(m_fd);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // A name that opening again reaches this file.
    std::string Path() const { return "/proc/self/fd/" + std::to_string(m_fd); }

    bool Put(std::string_view content) const {
        if (m_fd < 0)
            return false;
        for (std::size_t done = 0; done < content.size();) {
            const ssize_t written = pwrite(m_fd, content.data() + done, content.size() - done,
                                           static_cast<off_t>(done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            done += static_cast<std::size_t>(written);
        }
        return true;
    }

    std::optional<std::string> Take() const {
        struct stat status {};
        if (m_fd < 0 || fstat(m_fd, &status) != 0)
            return std::nullopt;
        std::string content(static_cast<std::size_t>(status.st_size), '\0');
        for (std::size_t done = 0; done < content.size();) {
            const ssize_t got =
                pread(m_fd, content.data() + done, content.size() - done, static_cast<off_t>(done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return std::nullopt;
            done += static_cast<std::size_t>(got);
        }
        return content;
    }

  private:
    int m_fd;
};

// How many entries libedit makes of a history file's text after its
// first line: one for each line, the last one needing no line feed.
std::size_t EntriesIn(std::string_view entries) {
    return static_cast<std::size_t>(std::count(entries.begin(), entries.end(), '\n')) +
           (!entries.empty() && entries.back() != '\n' ? 1 : 0);
}

}  // namespace

struct LineEditor::Functions {
    decltype(&::readline) readLine = nullptr;
    decltype(&::add_history) addHistory = nullptr;
    decltype(&::clear_history) clearHistory = nullptr;
    decltype(&::stifle_history) stifleHistory = nullptr;
    decltype(&::read_history) readHistory = nullptr;
    decltype(&::write_history) writeHistory = nullptr;
    decltype(&::history_length) historyLength = nullptr;
    FILE** outStream = nullptr;
};

std::unique_ptr<LineEditor> LineEditor::Load(int terminalDescriptor) {
    // On a terminal without cursor control libedit does not end the input at
    // Ctrl-D; the plain reader does.
    const char* terminal = std::getenv("TERM");
    if (!terminal || *terminal == '\0' || std::strcmp(terminal, "dumb") == 0)
        return nullptr;
    // Never unloaded: libedit's readline layer keeps its editor in globals
    // that only the end of the process releases.
    void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return nullptr;
    auto functions = std::make_unique<Functions>();
    const auto find = [library](auto& function, const char* name) {
        function =
            reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
        return function != nullptr;
    };
    if (!find(functions->readLine, "readline") || !find(functions->addHistory, "add_history") ||
        !find(functions->clearHistory, "clear_history") ||
        !find(functions->stifleHistory, "stifle_history") ||
        !find(functions->readHistory, "read_history") ||
        !find(functions->writeHistory, "write_history") ||
        !find(functions->historyLength, "history_length") ||
        !find(functions->outStream, "rl_outstream"))
        return nullptr;
    // The editor takes its output stream when it first starts, which any of
    // its calls may do: set it before all of them.
    if (terminalDescriptor >= 0) {
        const int own = fcntl(terminalDescriptor, F_DUPFD_CLOEXEC, 0);
        if (FILE* stream = own >= 0 ? fdopen(own, "w") : nullptr)
            *functions->outStream = stream;
        else if (own >= 0)
            close(own);
    }
    auto editor = std::make_unique<LineEditor>(Key{}, std::move(functions));
    editor->ReadHistory();
    return editor;
}

void LineEditor::ReadHistory() {
    m_functions->stifleHistory(kHistoryLines);
    if (const std::optional<std::string> path = HistoryFilePath())
        m_historyDirectory = HistoryDirectory::Open(*path, m_historyProblem);
    std::string reason;
    if (m_historyDirectory && !LoadHistory(reason))
        StopKeeping(reason);
}

bool LineEditor::LoadHistory(std::string& reason) {
    const std::optional<std::string> content = m_historyDirectory->Read(reason);
    if (!content)
        return false;
    // libedit refuses an empty file, which holds nothing to lose.
    if (content->empty()) {
        m_functions->clearHistory();
        return true;
    }
    const std::string_view text(*content);
    if (!text.starts_with(kHistoryMark) ||
        (text.size() > kHistoryMark.size() && text[kHistoryMark.size()] != '\n')) {
        reason = "damaged: its first line is not " + std::string(kHistoryMark);
        return false;
    }
    // Lines the library passed over would be gone after the next write:
    // what it read is counted.
    const std::size_t entries =
        std::min(EntriesIn(text.substr(std::min(text.size(), kHistoryMark.size() + 1))),
                 static_cast<std::size_t>(kHistoryLines));
    const MemoryFile file;
    if (!file.Put(text)) {
        reason = std::strerror(errno);
        return false;
    }
    m_functions->clearHistory();
    if (m_functions->readHistory(file.Path().c_str()) != 0 ||
        static_cast<std::size_t>(*m_functions->historyLength) != entries) {
        reason = "not all of its lines could be read";
        return false;
    }
    return true;
}

void LineEditor::StopKeeping(const std::string& reason) {
    m_historyProblem =
        "tallyfern-cli: the history is not kept: " + QuotedText(m_historyDirectory->Path(), 200) +
        " cannot be read (" + reason + "); it is left as it is\n";
    m_historyDirectory.reset();
    m_unsaved.clear();
}

void LineEditor::MergeHistory() {
    if (!m_historyDirectory || m_unsaved.empty())
        return;
    auto lock = m_historyDirectory->Hold();
    std::string reason;
    if (!LoadHistory(reason)) {
        lock.reset();
        StopKeeping(reason);
        return;
    }
    for (const std::string& line : m_unsaved)
        m_functions->addHistory(line.c_str());
    const MemoryFile file;
    std::optional<std::string> content;
    if (m_functions->writeHistory(file.Path().c_str()) == 0)
        content = file.Take();
    if (!content || !content->starts_with(kHistoryMark))
        reason = "libedit did not write it out";
    else if (m_historyDirectory->Replace(*content, reason))
        m_unsaved.clear();
    // The lines are kept for the next try; a full disk is said once, not at
    // every line.
    if (!m_unsaved.empty() && !m_saveFailureSaid) {
        m_saveFailureSaid = true;
        m_historyProblem = "tallyfern-cli: the history was not saved: " +
                           QuotedText(m_historyDirectory->Path(), 200) + " cannot be written (" +
                           reason + "); it is left as it was\n";
    }
}

std::optional<std::string> LineEditor::ReadLine(const char* prompt) {
    const std::unique_ptr<char, FreeWithCFree> line(m_functions->readLine(prompt));
    if (!line)
        return std::nullopt;
    return std::string(line.get());
}

void LineEditor::AddToHistory(const std::string& line) {
    m_functions->addHistory(line.c_str());
    m_unsaved.push_back(line);
    MergeHistory();
}

LineEditor::~LineEditor() {
    MergeHistory();
    m_functions->clearHistory();
}

#else

struct LineEditor::Functions {};

std::unique_ptr<LineEditor> LineEditor::Load(int) {
    return nullptr;
}
std::optional<std::string> LineEditor::ReadLine(const char*) {
    return std::nullopt;
}
void LineEditor::AddToHistory(const std::string&) {}
LineEditor::~LineEditor() = default;

#endif

LineEditor::LineEditor(Key, std::unique_ptr<Functions> functions)
    : m_functions(std::move(functions)) {}
