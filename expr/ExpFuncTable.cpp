#include "ExpFuncTable.h"

#include "ExpException.h"

namespace {

// The built-in entries are registered once and shared from here.
const ExpFuncTable& BuiltinPrototype() {
    static const ExpFuncTable prototype = [] {
        ExpFuncTable table{ExpFuncTable::Empty{}};
        for (const BuiltinFunction& function : BuiltinFunctions())
            table.Register(function.name, function.argCount, function.formula);
        return table;
    }();
    return prototype;
}

}  // namespace

ExpFuncTable::ExpFuncTable() : ExpFuncTable(BuiltinPrototype()) {}

ExpFuncTable::ExpFuncTable(Empty) : m_entries(std::make_shared<const std::vector<FuncEntry>>()) {}

void ExpFuncTable::Register(std::string_view name, int argCount, FunctionFormula fn) {
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
