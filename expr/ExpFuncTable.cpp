#include "ExpFuncTable.h"

#include <cmath>

#include "BuiltinFunctions.h"
#include "ExpEvaluator.h"
#include "ExpException.h"

namespace {

// The built-in entries are registered once and shared from here.
const ExpFuncTable& BuiltinPrototype() {
    static const ExpFuncTable prototype = [] {
        ExpFuncTable table{ExpFuncTable::Empty{}};
        RegisterBuiltinFunctions(table);
        return table;
    }();
    return prototype;
}

}  // namespace

ExpFuncTable::ExpFuncTable() : ExpFuncTable(BuiltinPrototype()) {}

ExpFuncTable::ExpFuncTable(Empty)
    : m_entries(std::make_shared<const std::vector<FuncEntry>>()), m_pi(std::acos(-1.0)) {}

void ExpFuncTable::Register(std::string_view name, int argCount, BuiltinFn fn) {
    auto entries = std::make_shared<std::vector<FuncEntry>>(*m_entries);
    entries->push_back({std::string(name), argCount, fn});
    m_entries = std::move(entries);
    ++m_count;
}

const ExpFuncTable::FuncEntry& ExpFuncTable::Find(std::string_view name) const {
    for (const FuncEntry& entry : *m_entries) {
        if (entry.name == name)
            return entry;
    }
    throw ExpException(EXP_ERR_OPERATOR, 0);
}

double ExpFuncTable::Call(std::string_view name, std::span<const ExpNode> args) const {
    const FuncEntry& entry = Find(name);
    if (static_cast<int>(args.size()) < entry.argCount)
        throw ExpException(EXP_ERR_OPERAND, 0);
    std::vector<double> values;
    for (int i = 0; i < entry.argCount; ++i) {
        values.push_back(
            ExpEvaluator::CheckResult(EvaluateArgument(args[static_cast<std::size_t>(i)], *this)));
    }
    return entry.fn(*this, values);
}
