#pragma once

// Whether a window keeps its history, variables and state between runs.
// The program's window does unless started with --no-session; a window
// made without saying (the tests' windows) reads and writes nothing.
enum class SessionUse { Forgotten, Kept };
