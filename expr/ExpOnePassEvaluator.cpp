#include "ExpOnePassEvaluator.h"

#include <cstring>
#include <new>
#include <span>
#include <utility>

void ExpOnePassEvaluator::Begin(std::string_view source) {
    m_source = source;
    m_values.clear();
    // Room for the most values a text can hold at once, about one every
    // two characters, so that the stack never moves (which would hold the
    // old and the new block at once); pages it never reaches take no
    // memory. Without that room it grows as it must.
    const std::size_t most = std::max<std::size_t>(source.size() / 2 + 4, 64);
    if (m_values.capacity() < most) {
        try {
            m_values.reserve(most);
        } catch (const std::bad_alloc&) {
        }
    }
    m_errors.clear();
    m_nonFiniteFrom.reset();
    // The table may have changed since.
    SetLastFunction(nullptr);
}

void ExpOnePassEvaluator::SetLastFunction(const ExpFuncTable::FuncEntry* entry) {
    m_lastFunction = entry;
    m_lastWord = 0;
    m_lastMask = 0;
    if (entry && entry->name.size() <= sizeof m_lastWord) {
        std::memcpy(&m_lastWord, entry->name.data(), entry->name.size());
        std::memset(&m_lastMask, 0xff, entry->name.size());
    }
}

void ExpOnePassEvaluator::ReleaseLarge() {
    constexpr std::size_t kKept = 1024;
    if (m_values.capacity() > kKept)
        std::vector<Slot>().swap(m_values);
    if (m_errors.capacity() > kKept)
        std::vector<ExpPendingError>().swap(m_errors);
}

void ExpOnePassEvaluator::Variable(bool inArgument, std::uint32_t place, std::string_view name) {
    const VarTable* vars = inArgument ? m_funcs->Variables() : m_variables;
    const auto value = vars ? vars->Find(name) : std::nullopt;
    m_values.push_back({value ? *value : 0.0, place});
    if (!value) {
        ExpException error(EXP_ERR_UNDEFINED, name);
        error.SetPlace(static_cast<int>(place));
        m_errors.push_back({m_values.size() - 1, std::move(error)});
    }
}

std::optional<ExpPendingError> ExpOnePassEvaluator::TakeError(std::size_t depth) {
    if (m_errors.empty() || m_errors.back().depth != depth)
        return std::nullopt;
    std::optional<ExpPendingError> error(std::move(m_errors.back()));
    m_errors.pop_back();
    return error;
}

void ExpOnePassEvaluator::InfixWithErrors(char op) {
    const std::size_t left = m_values.size() - 2;
    const double r = m_values.back().value;
    const double l = m_values[left].value;
    const std::uint32_t divisorPlace = m_values.back().place;
    const std::uint32_t place = std::min(m_values[left].place, divisorPlace);
    m_values.pop_back();
    m_values.back().place = place;
    const bool divisorIsZero = op == '/' && ExpValue::TolerantEqual(r, 0.0);
    if (!HasErrorFrom(left) && !divisorIsZero) {
        m_values.back().value = Apply(op, l, r);
        if (!std::isfinite(m_values.back().value))
            NoteNonFinite(l, r, place);
        return;
    }
    // The first error in the operator's order of evaluation.
    std::optional<ExpPendingError> rightError = TakeError(left + 1);
    std::optional<ExpPendingError> leftError = TakeError(left);
    std::optional<ExpPendingError> error;
    if (op == '*' || op == '/') {
        // The divisor is tested before the dividend is evaluated.
        if (rightError)
            error = std::move(rightError);
        else if (divisorIsZero)
            error = ExpPendingError{left, ExpException(EXP_ERR_DIVZERO, 0), divisorPlace};
        else
            error = std::move(leftError);
    } else {
        error = leftError ? std::move(leftError) : std::move(rightError);
    }
    if (error) {
        error->depth = left;
        m_errors.push_back(std::move(*error));
    } else {
        m_values.back().value = Apply(op, l, r);
    }
}

const ExpFuncTable::FuncEntry& ExpOnePassEvaluator::FindFunction(std::string_view name) {
    if (IsLastFunction(name))
        return *m_lastFunction;
    const ExpFuncTable::FuncEntry& entry = m_funcs->Find(name);
    SetLastFunction(&entry);
    return entry;
}

bool ExpOnePassEvaluator::CallWithoutErrors(const ExpFuncTable::FuncEntry& entry, std::size_t base,
                                            std::uint32_t nameStart) {
    const std::size_t used = static_cast<std::size_t>(entry.argCount);
    if (m_values.size() - base < used)
        return false;
    m_arguments.resize(used);
    for (std::size_t a = 0; a < used; ++a) {
        const double value = m_values[base + a].value;
        if (!std::isfinite(value))
            return false;
        m_arguments[a] = value;
    }
    const double result = entry.fn(m_arguments);
    if (!m_nonFiniteFrom && !std::isfinite(result))
        m_nonFiniteFrom = nameStart;
    // The name stands before every argument.
    m_values[base] = {result, nameStart};
    m_values.erase(m_values.begin() + static_cast<std::ptrdiff_t>(base) + 1, m_values.end());
    return true;
}

void ExpOnePassEvaluator::ApplyCall(std::uint32_t nameStart, std::uint32_t argCount) {
    const std::size_t count = argCount;
    const std::size_t base = m_values.size() - count;
    const std::string_view name = CallName(nameStart);
    // Without any error about, a known function whose arguments are all
    // finite numbers is simply applied; everything else as the tree does.
    if (m_errors.empty()) {
        const ExpFuncTable::FuncEntry* entry =
            IsLastFunction(name) ? m_lastFunction : m_funcs->FindOrNull(name);
        if (entry) {
            SetLastFunction(entry);
            if (CallWithoutErrors(*entry, base, nameStart))
                return;
        }
    }
    std::optional<ExpException> error;
    // An argument's own error keeps its place (and a division's divisor to
    // find it from); any other is the call's.
    bool fromArgument = false;
    std::uint32_t divisor = ExpPendingError::kNoDivisor;
    double result = 0;
    try {
        // The name and the argument count come before any argument; then
        // each argument in turn, checked.
        const ExpFuncTable::FuncEntry& entry = FindFunction(name);
        const std::size_t used = static_cast<std::size_t>(entry.argCount);
        if (count < used)
            throw ExpException(EXP_ERR_OPERAND, 0);
        for (std::size_t a = base; a < base + used; ++a) {
            if (HasErrorFrom(a)) {
                std::size_t at = m_errors.size();
                while (at > 0 && m_errors[at - 1].depth >= a)
                    --at;
                if (m_errors[at].depth == a) {
                    fromArgument = true;
                    divisor = m_errors[at].divisor;
                    throw m_errors[at].error;
                }
            }
            m_values[a].value = ExpValue::CheckFinite(m_values[a].value);
        }
        // Arguments beyond those the function uses count for nothing, their
        // errors neither.
        m_arguments.resize(used);
        for (std::size_t a = 0; a < used; ++a)
            m_arguments[a] = m_values[base + a].value;
        result = entry.fn(m_arguments);
        if (!m_nonFiniteFrom && !std::isfinite(result))
            m_nonFiniteFrom = nameStart;
    } catch (ExpException& thrown) {
        error = std::move(thrown);
        if (!fromArgument)
            error->SetPlace(static_cast<int>(nameStart));
    }
    while (HasErrorFrom(base))
        m_errors.pop_back();
    m_values.resize(base);
    m_values.push_back({result, nameStart});
    if (error)
        m_errors.push_back({base, std::move(*error), divisor});
}

double ExpOnePassEvaluator::Result() {
    if (!m_errors.empty()) {
        ExpPendingError& pending = m_errors.back();
        if (pending.divisor != ExpPendingError::kNoDivisor) {
            // The divisor starts with the parentheses and signs that open it
            // (the character before a divisor is its '/').
            std::uint32_t start = pending.divisor;
            while (start > 0 && start <= m_source.size() &&
                   (m_source[start - 1] == '(' || m_source[start - 1] == '+' ||
                    m_source[start - 1] == '-'))
                --start;
            pending.error.SetPlace(static_cast<int>(start));
        }
        throw pending.error;
    }
    const double value = m_values.back().value;
    try {
        return ExpValue::CheckFinite(value);
    } catch (ExpException& error) {
        if (m_nonFiniteFrom)
            error.SetPlace(static_cast<int>(*m_nonFiniteFrom));
        throw;
    }
}
