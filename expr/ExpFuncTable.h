#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "BuiltinFunctions.h"

class VarTable;

// The registry of named functions, and the variables their arguments are
// evaluated with.
//
// A function is a formula over the values of the arguments it uses
// (argCount of them); the evaluator evaluates and checks the arguments and
// applies the formula, so nested calls never nest on the call stack.
class ExpFuncTable {
  public:
    struct FuncEntry {
        std::string name;
        int argCount;
        FunctionFormula fn;
    };
    struct Empty {};

    // Registers the 20 built-in functions.
    ExpFuncTable();
    // A table with no function at all.
    explicit ExpFuncTable(Empty);
    virtual ~ExpFuncTable() = default;

    void Register(std::string_view name, int argCount, FunctionFormula fn);
    // The variables that arguments are evaluated with; not owned, may be null
    // (then arguments see no variables).
    void SetVariables(const VarTable* vars) { m_vars = vars; }

    // The first entry of that exact name (case counts); EXP_ERR_OPERATOR if
    // there is none.
    const FuncEntry& Find(std::string_view name) const;
    // The same, or null when there is none.
    const FuncEntry* FindOrNull(std::string_view name) const;
    const VarTable* Variables() const { return m_vars; }
    int Count() const { return m_count; }

  private:
    // Shared between tables until one of them registers a function of its
    // own: every evaluation builds a table.
    std::shared_ptr<const std::vector<FuncEntry>> m_entries;
    int m_count = 0;
    const VarTable* m_vars = nullptr;
};
