#include "HistoryFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace {

constexpr char kRelativePath[] = "/tallyfern/history";

}  // namespace

std::optional<std::string> HistoryFilePath() {
    // A relative XDG_STATE_HOME is to be ignored, as XDG says of all its
    // base directories.
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && state[0] == '/')
        return std::string(state) + kRelativePath;
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return std::string(home) + "/.local/state" + kRelativePath;
    return std::nullopt;
}

bool MakeParentDirectories(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string directory = path.substr(0, slash);
        if (mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}
