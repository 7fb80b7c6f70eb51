#pragma once

#include <pthread.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "ExpCompute.h"
#include "ExpException.h"

namespace TestSupport {

// An unoptimized build is some twenty times slower: the deep-input tests run
// their shapes ten times shallower there, still far beyond what a small
// stack holds for a pass that recursed per level. The sanitizer build is
// optimized and runs them all.
#if !defined(__OPTIMIZE__)
inline constexpr bool kSlowBuild = true;
#else
inline constexpr bool kSlowBuild = false;
#endif
inline constexpr int kDeepNesting = kSlowBuild ? 10'000 : 100'000;
inline constexpr int kLongSumTerms = kSlowBuild ? 50'000 : 1'000'000;

inline std::string Repeat(std::string_view piece, int times) {
    std::string text;
    text.reserve(piece.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

// `open` repeated `depth` times around `core`, each closed by one ')'.
inline std::string Nest(std::string_view open, std::string_view core, int depth) {
    return Repeat(open, depth) + std::string(core) +
           std::string(static_cast<std::size_t>(depth), ')');
}

// Runs `work` on a new thread whose whole stack is `stackBytes`, and waits for
// it. A pass that recursed once per nesting level would overflow such a stack
// long before the depths the deep-input tests use. Returns false when the
// thread could not be started.
inline bool RunOnSmallStack(const std::function<void()>& work,
                            std::size_t stackBytes = 256 * 1024) {
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0)
        return false;
    const bool sized = pthread_attr_setstacksize(&attr, stackBytes) == 0;
    pthread_t thread;
    auto entry = [](void* arg) -> void* {
        (*static_cast<const std::function<void()>*>(arg))();
        return nullptr;
    };
    const bool started = sized && pthread_create(&thread, &attr, entry,
                                                 const_cast<std::function<void()>*>(&work)) == 0;
    pthread_attr_destroy(&attr);
    if (started)
        pthread_join(thread, nullptr);
    return started;
}

// The error `action` throws, or none.
template <class Action>
std::optional<ExpException> ErrorOf(Action&& action) {
    try {
        std::forward<Action>(action)();
    } catch (const ExpException& e) {
        return e;
    }
    return std::nullopt;
}

// The code of the error `action` throws, or -1.
template <class Action>
int ErrorCode(Action&& action) {
    const auto error = ErrorOf(std::forward<Action>(action));
    return error ? error->GetCode() : -1;
}

// What computing a stripped text fails with; code -1 when it succeeds.
struct Failure {
    int code = -1;
    int position = -1;
    std::string text;  // the message
};

inline Failure ComputeFailure(std::string_view stripped, const VarTable& vars = {}) {
    const auto error = ErrorOf([&] { ComputeExpression(stripped, vars); });
    if (!error)
        return {};
    return {error->GetCode(), error->GetPosition(), error->GetErrorText()};
}

}  // namespace TestSupport
