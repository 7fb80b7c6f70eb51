#include "LineEditor.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

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
};

std::unique_ptr<LineEditor> LineEditor::Load() {
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
    functions->readLine = reinterpret_cast<decltype(&::readline)>(dlsym(library, "readline"));
    functions->addHistory =
        reinterpret_cast<decltype(&::add_history)>(dlsym(library, "add_history"));
    functions->clearHistory =
        reinterpret_cast<decltype(&::clear_history)>(dlsym(library, "clear_history"));
    if (!functions->readLine || !functions->addHistory || !functions->clearHistory)
        return nullptr;
    return std::make_unique<LineEditor>(Key{}, std::move(functions));
}

std::optional<std::string> LineEditor::ReadLine(const char* prompt) {
    const std::unique_ptr<char, FreeWithCFree> line(m_functions->readLine(prompt));
    if (!line)
        return std::nullopt;
    return std::string(line.get());
}

void LineEditor::AddToHistory(const std::string& line) {
    m_functions->addHistory(line.c_str());
}

LineEditor::~LineEditor() {
    m_functions->clearHistory();
}

#else

struct LineEditor::Functions {};

std::unique_ptr<LineEditor> LineEditor::Load() {
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
