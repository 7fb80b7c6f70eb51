#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// What every fuzz target needs besides its own code. A target aborts through
// FUZZ_CHECK when a property of the engine does not hold: the fuzzer then
// keeps the input like any crash.

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace Fuzz {

[[noreturn]] void Fail(const char* condition, const char* file, int line);

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Takes the first byte off `text` (0 when there is none).
inline unsigned char TakeByte(std::string_view& text) {
    if (text.empty())
        return 0;
    const auto byte = static_cast<unsigned char>(text.front());
    text.remove_prefix(1);
    return byte;
}

}  // namespace Fuzz

#define FUZZ_CHECK(condition)                             \
    do {                                                  \
        if (!(condition))                                 \
            ::Fuzz::Fail(#condition, __FILE__, __LINE__); \
    } while (false)
