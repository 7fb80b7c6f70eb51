#include "ExpressionRunner.h"

#include <exception>
#include <new>
#include <utility>

#include "ConsoleOutput.h"
#include "ConsoleText.h"
#include "ExpCompute.h"
#include "ExpException.h"
#include "NaturalForm.h"

LineOutcome ExpressionRunner::Run(std::string_view consoleText, bool skipBlank) {
    try {
        const std::string stripped = StripWhitespace(ToEngineText(consoleText, m_conversion));
        if (skipBlank && stripped.empty())
            return LineOutcome::Blank;
        try {
            ComputedExpression computed = ComputeExpressionTree(stripped, m_variables);
            m_output.Result(FormatResult(computed.value));
            m_output.Result("\n");
            if (m_naturalFormWidth) {
                // The value stands already: only the drawing is lost.
                try {
                    PrintNaturalForm(std::move(computed.tree), *m_naturalFormWidth);
                } catch (const std::bad_alloc&) {
                    m_output.Error(
                        "tallyfern-cli: out of memory; the natural form was not drawn\n");
                    return LineOutcome::Failed;
                }
            }
            return LineOutcome::Computed;
        } catch (const CExpException& error) {
            ReportError(ComposeErrorMessage(error, stripped));
            return LineOutcome::Failed;
        }
    } catch (const std::bad_alloc&) {
        m_output.Error("tallyfern-cli: out of memory; the expression was not computed\n");
    } catch (const std::exception& error) {
        std::string message = "tallyfern-cli: the expression was not computed: ";
        message += error.what();
        message += '\n';
        m_output.Error(message);
    }
    return LineOutcome::Failed;
}

void ExpressionRunner::PrintNaturalForm(std::unique_ptr<CExpNode> tree, int width) {
    CNaturalForm naturalForm(std::move(tree));
    // Names and numbers are ASCII, and so is the whole drawing: it needs no
    // conversion for the terminal.
    for (const std::string& line : naturalForm.Render(width)) {
        // The element that separates two segments holds just a line feed:
        // an empty line.
        if (line != "\n")
            m_output.Result(line);
        m_output.Result("\n");
    }
    if (naturalForm.IsTooLarge())
        m_output.Error("tallyfern-cli: the natural form is too large to draw\n");
}

void ExpressionRunner::ReportError(std::string_view engineMessage) {
    std::string text = ToConsoleText(engineMessage);
    text += '\n';
    m_output.Error(text);
}
