#include "PlotFunction.h"

#include <algorithm>

#include "ExpParser.h"
#include "PlotVariable.h"

PlotFunction::PlotFunction(std::string_view stripped, std::string_view variable,
                           const VarTable& others)
    : m_variable(variable),
      m_tree(ExpParser(stripped).Parse()),
      m_evaluator(std::make_unique<ExpEvaluator>()),
      m_program(*m_tree, m_variable, others, m_evaluator->m_funcs) {
    for (const std::string& name : NamesRead(*m_tree)) {
        if (name == m_variable)
            continue;
        if (const auto value = others.Find(name))
            m_usedOthers.emplace_back(name, *value);
    }
    // The expression and the arguments of its calls see the same names, as
    // in every computation.
    m_evaluator->m_funcs.SetVariables(&m_evaluator->m_variables);
}

double PlotFunction::Compute(double x) {
    if (const std::optional<double> value = ValueAt(x))
        return *value;
    return ComputeByEvaluator(x);
}

double PlotFunction::ComputeByEvaluator(double x) {
    VarTable& variables = m_evaluator->m_variables;
    variables.Clear();
    variables.Insert(m_variable, x);
    for (const auto& [name, value] : m_usedOthers)
        variables.Insert(name, value);
    return m_evaluator->CheckEvaluated(m_evaluator->Evaluate(*m_tree));
}
