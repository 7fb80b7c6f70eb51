#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "AsciiChars.h"
#include "ExpEvaluator.h"
#include "ExpFuncTable.h"
#include "ExpValueTraits.h"
#include "VarTable.h"

// Computes an expression in double while the parser reads it, with no tree:
// the parser hands over each node as it finishes it, which is the order in
// which the evaluator walks a tree (post-order), and this keeps the stack of
// values that walk keeps. Values, errors and their places are those of
// parsing to a tree and evaluating it with ExpEvaluator (the tests and the
// compute fuzz target compare the two), at the memory of the text alone:
// a long sum holds two values.
//
// The tree finds the place of a division by zero and of the first value
// beyond the finite numbers by searching the subtree for its leftmost
// number, name or call; here each value carries that place with it.
class ExpOnePassEvaluator {
    static_assert(std::endian::native == std::endian::little);

  public:
    // A value whose subtree holds no place in the source (only numbers
    // composed of several pieces, as .5 or the 10 of an exponent).
    static constexpr std::uint32_t kNoPlace = ExpPendingError::kNoDivisor;

    // Expressions read `variables`, function arguments `funcs`' variables;
    // both must outlive the computations.
    ExpOnePassEvaluator(const VarTable& variables, const ExpFuncTable& funcs)
        : m_variables(&variables), m_funcs(&funcs) {}

    // The parser's side, node by node.
    void Begin(std::string_view source);
    void Number(double value, std::uint32_t place) { m_values.push_back({value, place}); }
    void Variable(bool inArgument, std::uint32_t place, std::string_view name);
    void Negate() {
        if (!HasErrorFrom(m_values.size() - 1))
            m_values.back().value = -m_values.back().value;
    }
    void Infix(char op) {
        const Slot r = m_values.back();
        Slot& l = m_values[m_values.size() - 2];
        // The common case: no error anywhere, no division by zero.
        if (m_errors.empty() && !(op == '/' && ExpValue::TolerantEqual(r.value, 0.0))) {
            const double value = Apply(op, l.value, r.value);
            const std::uint32_t place = std::min(l.place, r.place);
            if (!std::isfinite(value)) [[unlikely]]
                NoteNonFinite(l.value, r.value, place);
            l = {value, place};
            m_values.pop_back();
            return;
        }
        InfixWithErrors(op);
    }
    // The call's name starts at `nameStart` in the source; its '(' follows.
    void Call(std::uint32_t nameStart, std::uint32_t argCount) {
        // The quick way for nested calls of one function of one argument,
        // with no error about and a finite argument; everything else in
        // ApplyCall.
        if (m_errors.empty() && argCount == 1 && IsLastFunction(nameStart) &&
            m_lastFunction->argCount == 1 && std::isfinite(m_values.back().value)) {
            Slot& slot = m_values.back();
            const double result = m_lastFunction->fn(std::span<const double>(&slot.value, 1));
            if (!m_nonFiniteFrom && !std::isfinite(result))
                m_nonFiniteFrom = nameStart;
            // The name stands before the argument.
            slot = {result, nameStart};
            return;
        }
        ApplyCall(nameStart, argCount);
    }
    // The value of the whole text, checked as CheckEvaluated checks it;
    // throws the error that evaluating its tree would throw.
    double Result();

    // Gives back storage far beyond what a short expression needs.
    void ReleaseLarge();

  private:
    static double Apply(char op, double l, double r) {
        switch (op) {
            case '+':
                return l + r;
            case '-':
                return l - r;
            case '*':
                return l * r;
            case '/':
                return l / r;
            default:
                return std::pow(l, r);
        }
    }
    bool HasErrorFrom(std::size_t depth) const {
        return !m_errors.empty() && m_errors.back().depth >= depth;
    }
    std::optional<ExpPendingError> TakeError(std::size_t depth);
    void NoteNonFinite(double l, double r, std::uint32_t place) {
        if (!m_nonFiniteFrom && std::isfinite(l) && std::isfinite(r))
            m_nonFiniteFrom = place == kNoPlace ? 0 : place;
    }
    void InfixWithErrors(char op);
    const ExpFuncTable::FuncEntry& FindFunction(std::string_view name);

    const VarTable* m_variables;
    const ExpFuncTable* m_funcs;
    std::string_view m_source;
    // A value, and the leftmost place in the source its subtree starts from.
    struct Slot {
        double value;
        std::uint32_t place;
    };
    bool CallWithoutErrors(const ExpFuncTable::FuncEntry& entry, std::size_t base,
                           std::uint32_t nameStart);
    // Whether the call's name at `nameStart` in the source is the last
    // function's.
    bool IsLastFunction(std::uint32_t nameStart) const {
        if (!m_lastFunction)
            return false;
        const std::size_t size = m_lastFunction->name.size();
        // Names are short: eight bytes of the source, read at once where
        // they stand, hold most of them (the mask keeps the first bytes of a
        // little-endian word). The name is the last one when they start
        // with it and its '(' follows.
        if (size <= sizeof m_lastWord && nameStart + sizeof m_lastWord < m_source.size()) {
            std::uint64_t word;
            std::memcpy(&word, m_source.data() + nameStart, sizeof word);
            return (word & m_lastMask) == m_lastWord && m_source[nameStart + size] == '(';
        }
        return IsLastFunction(CallName(nameStart));
    }
    std::string_view CallName(std::uint32_t nameStart) const {
        return m_source.substr(nameStart, NameEnd(m_source, nameStart) - nameStart);
    }
    bool IsLastFunction(std::string_view name) const {
        return m_lastFunction && name == m_lastFunction->name;
    }
    void SetLastFunction(const ExpFuncTable::FuncEntry* entry);
    void ApplyCall(std::uint32_t nameStart, std::uint32_t argCount);

    std::vector<Slot> m_values;
    std::vector<ExpPendingError> m_errors;  // by depth, the deepest last
    std::optional<std::uint32_t> m_nonFiniteFrom;
    // The function found last: nested calls of one function look it up once.
    const ExpFuncTable::FuncEntry* m_lastFunction = nullptr;
    // Its name's bytes as one word, in the source's order, when it has at
    // most eight, and the mask that keeps as many of a word's.
    std::uint64_t m_lastWord = 0;
    std::uint64_t m_lastMask = 0;
    std::vector<double> m_arguments;
};
