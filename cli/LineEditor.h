#pragma once

#include <memory>
#include <optional>
#include <string>

// Line editing with history at a terminal, through the system's libedit.
// The library is loaded only when a terminal session starts, so that a
// computation from arguments or a pipe starts as fast as without it.
class LineEditor {
    struct Functions;
    // Only Load can make one.
    struct Key {
        explicit Key() = default;
    };

  public:
    // None when libedit is not installed (or its header was not, at build
    // time), or when the terminal is too plain for it (TERM unset or dumb).
    static std::unique_ptr<LineEditor> Load();

    LineEditor(Key, std::unique_ptr<Functions> functions);
    LineEditor(const LineEditor&) = delete;
    LineEditor& operator=(const LineEditor&) = delete;
    ~LineEditor();

    // The next line without its line feed, after showing `prompt`; none at
    // the end of the input.
    std::optional<std::string> ReadLine(const char* prompt);
    void AddToHistory(const std::string& line);

  private:
    std::unique_ptr<Functions> m_functions;
};
