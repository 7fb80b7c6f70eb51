#pragma once

#include <string_view>

#include "ExpEvaluator.h"
#include "ExpOnePassEvaluator.h"
#include "ExpParser.h"
#include "ExpressionTree.h"
#include "VarTable.h"

// Computes one expression after another as the compute command does, with
// the parser, the tree and the evaluator's stack kept from one to the next:
// once a few short expressions have been computed, the next short one
// allocates nothing. Storage far beyond a short expression's is given back
// after each one.
class ExpressionWorkspace {
  public:
    // `variables` must outlive the workspace: function arguments read it.
    explicit ExpressionWorkspace(const VarTable& variables);
    // The one-pass evaluator reads the evaluator's variables and functions
    // where they stand.
    ExpressionWorkspace(const ExpressionWorkspace&) = delete;
    ExpressionWorkspace& operator=(const ExpressionWorkspace&) = delete;

    // Parses the stripped text, evaluates it and checks the result; throws
    // ExpException, or std::bad_alloc when memory runs out. The tree views
    // `stripped` without a copy, so keep that alive and unchanged as long
    // as Tree() is used.
    double Compute(std::string_view stripped);

    // The same, computed while the text is read, with no tree: for a caller
    // that draws nothing. Tree() is empty afterwards.
    double ComputeValue(std::string_view stripped);

    // Every computation from now on is given up with ExpCancelled once
    // `flag` is set (from another thread); null computes to the end.
    void SetCancel(const std::atomic<bool>* flag) {
        m_parser.SetCancel(flag);
        m_evaluator.m_cancel = flag;
    }

    // The tree of the last Compute that got as far as evaluating; empty
    // after a syntax error.
    const ExpressionTree& Tree() const { return m_tree; }

  private:
    ExpParser m_parser;
    ExpressionTree m_tree;
    ExpEvaluator m_evaluator;
    ExpOnePassEvaluator m_onePass;
};
