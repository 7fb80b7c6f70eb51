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

const ExpFuncTable::FuncEntry* ExpFuncTable::FindOrNull(std::string_view name) const {
    for (const FuncEntry& entry : *m_entries) {
        // Names are short: their first bytes tell most of them apart
        // without a call of memcmp.
        if (entry.name.size() == name.size() && !name.empty() && entry.name[0] == name[0] &&
            std::string_view(entry.name) == name)
            return &entry;
    }
    if (name.empty()) {
        for (const FuncEntry& entry : *m_entries) {
            if (entry.name.empty())
                return &entry;
        }
    }
    return nullptr;
}

const ExpFuncTable::FuncEntry& ExpFuncTable::Find(std::string_view name) const {
    if (const FuncEntry* entry = FindOrNull(name))
        return *entry;
    throw ExpException(EXP_ERR_OPERATOR, 0);
}
