#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

#include "ExpException.h"
#include "ExpressionTree.h"
#include "VarTable.h"

// The steps of one computation as the window and the console program run it.

// The text without blanks, tabs, carriage returns and line feeds.
std::string StripWhitespace(std::string_view text);
// The same without a copy when there is nothing to drop: the result views
// `text`, or else `storage`, which receives the stripped text.
std::string_view StripWhitespace(std::string_view text, std::string& storage);

// Parses the stripped text, evaluates it with the variables and checks the
// result; throws ExpException, or std::bad_alloc when memory runs out (all
// that was taken is given back first).
double ComputeExpression(std::string_view stripped, const VarTable& vars);

// A computed value together with the tree it was computed from, which the
// natural form draws.
struct ComputedExpression {
    double value = 0;
    std::unique_ptr<ExpressionTree> tree;
};

// As ComputeExpression, and hands the parsed tree back. Once `cancel` is
// set (from another thread), the computation is given up with ExpCancelled.
ComputedExpression ComputeExpressionTree(std::string_view stripped, const VarTable& vars,
                                         const std::atomic<bool>* cancel = nullptr);

// "%.15g" with an exponent of at least three digits (1e+020, 2.5e-007),
// whatever the process locale.
std::string FormatResult(double value);
// The same written into `buffer`, which the result views.
inline constexpr std::size_t kFormattedResultSize = 32;
std::string_view FormatResult(double value, char (&buffer)[kFormattedResultSize]);

// The text of the error box: the message framed by its prefix and suffix,
// then the stripped expression (UTF-8) from the error position on, as much
// of it as code page 936 writes in 10 bytes. The position counts those
// bytes too; it is the same number either way up to the first non-ASCII
// character, which is as far as a computation ever reads. A double-byte
// character cut by either end of the excerpt shows as one U+FFFD.
std::string ComposeErrorMessage(const ExpException& error, std::string_view stripped);
// The excerpt alone, for a caller that frames the message itself.
std::string ErrorExcerpt(const ExpException& error, std::string_view stripped);
