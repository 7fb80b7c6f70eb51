#pragma once

#include <optional>
#include <string>

// Where line editing keeps its history between runs, as the XDG base
// directories place state: $XDG_STATE_HOME/tallyfern/history, or
// ~/.local/state/tallyfern/history when XDG_STATE_HOME is unset or not an
// absolute path. None when HOME is not set either.
std::optional<std::string> HistoryFilePath();

// Creates the missing directories above `path`, readable by the user only
// (the history holds what was typed); returns whether they are there.
bool MakeParentDirectories(const std::string& path);
