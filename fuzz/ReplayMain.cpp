// Feeds files to a fuzz target's LLVMFuzzerTestOneInput, for builds without
// libFuzzer: the tests replay every corpus and regression input this way
// under the sanitizers. Arguments are files or directories (every regular
// file below them, in name order); a directory that does not exist counts
// as empty. Prints what it ran and the slowest input.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzSupport.h"

namespace {

bool ReadFile(const std::filesystem::path& path, std::string& contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path path(argv[i]);
        std::error_code error;
        if (fs::is_directory(path, error)) {
            for (const auto& entry : fs::recursive_directory_iterator(path)) {
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
            }
        } else if (fs::exists(path, error)) {
            inputs.push_back(path);
        }
    }
    std::sort(inputs.begin(), inputs.end());

    double slowest = 0;
    std::string slowestName;
    std::string contents;
    for (const fs::path& input : inputs) {
        if (!ReadFile(input, contents)) {
            std::fprintf(stderr, "cannot read %s\n", input.c_str());
            return 2;
        }
        // A private copy, so that reading past the end is caught.
        const std::vector<std::uint8_t> bytes(contents.begin(), contents.end());
        const auto start = std::chrono::steady_clock::now();
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (seconds > slowest) {
            slowest = seconds;
            slowestName = input.string();
        }
    }
    std::fprintf(stderr, "replayed %zu inputs; slowest %.3f s (%s)\n", inputs.size(), slowest,
                 slowestName.c_str());
    return 0;
}
