#pragma once

#include <memory>
#include <optional>
#include <string>

// Line editing with history at a terminal, through the system's libedit.
// The library is loaded only when a terminal session starts, so that a
// computation from arguments or a pipe starts as fast as without it. The
// history (its last kHistoryLines lines) is read from the history file when
// the editor is loaded and written back when it goes.
class LineEditor {
    struct Functions;
    // Only Load can make one.
    struct Key {
        explicit Key() = default;
    };

  public:
    static constexpr int kHistoryLines = 1000;

    // None when libedit is not installed (or its header was not, at build
    // time), or when the terminal is too plain for it (TERM unset or dumb).
    // The editor draws on `terminalDescriptor` when it is not -1, else on
    // standard output.
    static std::unique_ptr<LineEditor> Load(int terminalDescriptor);

    LineEditor(Key, std::unique_ptr<Functions> functions);
    LineEditor(const LineEditor&) = delete;
    LineEditor& operator=(const LineEditor&) = delete;
    ~LineEditor();

    // The next line without its line feed, after showing `prompt`; none at
    // the end of the input.
    std::optional<std::string> ReadLine(const char* prompt);
    void AddToHistory(const std::string& line);

  private:
    void ReadHistory();
    void WriteHistory();

    std::unique_ptr<Functions> m_functions;
    std::optional<std::string> m_historyPath;
};
