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
std::optional<CExpException> ErrorOf(Action&& action) {
    try {
        std::forward<Action>(action)();
    } catch (const CExpException& e) {
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
