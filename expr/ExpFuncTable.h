#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ExpNode.h"

class VarTable;

// The registry of named functions, with the context every function needs:
// pi and the variables its arguments are evaluated with.
//
// A function is a formula over the values of the arguments it uses
// (argCount of them, each already evaluated and checked); the caller
// evaluates the arguments, so nested calls never nest on the call stack.
class ExpFuncTable {
  public:
    using BuiltinFn = double (*)(const ExpFuncTable& table, std::span<const double> args);
    struct FuncEntry {
        std::string name;
        int argCount;
        BuiltinFn fn;
    };
    struct Empty {};

    // Registers the 20 built-in functions.
    ExpFuncTable();
    // A table with no function at all.
    explicit ExpFuncTable(Empty);
    virtual ~ExpFuncTable() = default;

    void Register(std::string_view name, int argCount, BuiltinFn fn);
    // The variables that arguments are evaluated with; not owned, may be null
    // (then arguments see no variables).
    void SetVariables(const VarTable* vars) { m_vars = vars; }

    // The first entry of that exact name (case counts); EXP_ERR_OPERATOR if
    // there is none.
    const FuncEntry& Find(std::string_view name) const;
    // Calls a function by name: evaluates and checks the arguments it uses,
    // first to last, with the table's variables, then applies the formula.
    // EXP_ERR_OPERAND when the call has fewer arguments than the function uses.
    double Call(std::string_view name, std::span<const ExpNode> args) const;

    double Pi() const { return m_pi; }
    const VarTable* Variables() const { return m_vars; }
    int Count() const { return m_count; }

  private:
    // Shared between tables until one of them registers a function of its
    // own: every evaluation builds a table.
    std::shared_ptr<const std::vector<FuncEntry>> m_entries;
    int m_count = 0;
    double m_pi;
    const VarTable* m_vars = nullptr;
};
