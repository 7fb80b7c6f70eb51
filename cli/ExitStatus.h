#pragma once

// The exit statuses other programs rely on.
enum ExitStatus : int {
    kExitSuccess = 0,
    // A computation failed, or the results could not be written.
    kExitFailure = 1,
    // The command line was wrong; nothing was computed.
    kExitUsage = 2,
};
