#pragma once

#include <functional>
#include <optional>

// The state of the Num Lock light, read from the window system.

// On X11 the state comes from XKB; where it cannot be read (another window
// system, or no server answers) the result is empty and the caller keeps
// its own count of the presses.
std::optional<bool> ReadNumLockState();

// Tests replace the window system's answer; an empty reader restores it.
// Returns the previous reader.
using NumLockReader = std::function<std::optional<bool>()>;
NumLockReader SetNumLockReader(NumLockReader reader);
