#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "HistoryFile.h"

// Line editing with history at a terminal, through the system's libedit.
// The library is loaded only when a terminal session starts, so that a
// computation from arguments or a pipe starts as fast as without it. The
// history (its last kHistoryLines lines) is read from the history file when
// the editor is loaded, and each line entered is merged into the file at
// once: a session ended by Ctrl-C or a closed terminal keeps its lines, and
// sessions at the same time keep each other's. A file that does not read
// whole as a history is never written over: the session then keeps no
// history, and says so.
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

    // Why the history is not kept or was not saved, as a line for standard
    // error, once: empty after that, while all is well, or when there is
    // simply nowhere to keep it.
    std::string TakeHistoryProblem() { return std::exchange(m_historyProblem, {}); }

  private:
    void ReadHistory();
    // Puts the file's lines into the editor's history. False, with
    // `reason`, when the file cannot be read whole as a history: it is then
    // never written over.
    bool LoadHistory(std::string& reason);
    // The file's lines as they are now, then this session's not yet saved.
    void MergeHistory();
    void StopKeeping(const std::string& reason);

    std::unique_ptr<Functions> m_functions;
    std::unique_ptr<HistoryDirectory> m_historyDirectory;
    std::string m_historyProblem;
    bool m_saveFailureSaid = false;
    std::vector<std::string> m_unsaved;
};
