#include "ExpressionWorkspace.h"

ExpressionWorkspace::ExpressionWorkspace(const VarTable& variables)
    : m_onePass(m_evaluator.m_variables, m_evaluator.m_funcs) {
    // The variables do not change between expressions: one copy serves all.
    m_evaluator.m_variables.Assign(variables);
    m_evaluator.m_funcs.SetVariables(&variables);
}

double ExpressionWorkspace::Compute(std::string_view stripped) {
    m_parser.ParseInto(stripped, m_tree);
    return m_evaluator.CheckEvaluated(m_evaluator.Evaluate(m_tree));
}

double ExpressionWorkspace::ComputeValue(std::string_view stripped) {
    if (!m_tree.IsEmpty())
        m_tree.Clear();
    return m_parser.Compute(stripped, m_onePass);
}
