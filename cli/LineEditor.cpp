#include "LineEditor.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

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

struct LineEditor::Functions {
    decltype(&::readline) readLine = nullptr;
    decltype(&::add_history) addHistory = nullptr;
    decltype(&::clear_history) clearHistory = nullptr;
    decltype(&::stifle_history) stifleHistory = nullptr;
    decltype(&::read_history) readHistory = nullptr;
    decltype(&::write_history) writeHistory = nullptr;
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
    // A missing or unreadable file leaves the history empty.
    if (m_historyDirectory)
        m_historyDirectory->Read(m_functions->readHistory);
}

void LineEditor::MergeHistory() {
    if (!m_historyDirectory || m_unsaved.empty())
        return;
    const auto lock = m_historyDirectory->Hold();
    m_functions->clearHistory();
    m_historyDirectory->Read(m_functions->readHistory);
    for (const std::string& line : m_unsaved)
        m_functions->addHistory(line.c_str());
    // Kept for the next try when the file cannot be written now.
    if (m_historyDirectory->Replace(m_functions->writeHistory))
        m_unsaved.clear();
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
