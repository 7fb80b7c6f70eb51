#pragma once

#include <atomic>
#include <cstdint>

// What a computation throws when the flag its caller handed over (see
// ExpParser::SetCancel, BasicExpEvaluator::m_cancel) is found set: not an
// error of the expression, so no ExpException, and nothing is reported.
struct ExpCancelled {};

// Looks at a cancel flag every kEvery steps: a relaxed load then costs
// nothing that can be measured, and a step is far below a millisecond.
class ExpCancelPoll {
  public:
    static constexpr std::uint32_t kEvery = 4096;

    explicit ExpCancelPoll(const std::atomic<bool>* flag) : m_flag(flag) {}

    // Throws ExpCancelled once the flag is set.
    void Step() {
        if (m_flag && --m_untilLook == 0) [[unlikely]]
            Look();
    }

  private:
    void Look() {
        m_untilLook = kEvery;
        if (m_flag->load(std::memory_order_relaxed))
            throw ExpCancelled();
    }

    const std::atomic<bool>* m_flag;
    std::uint32_t m_untilLook = kEvery;
};
