#include "ExpressionRunner.h"

#include <exception>
#include <new>

#include "ConsoleOutput.h"
#include "ConsoleText.h"
#include "ExpCompute.h"
#include "ExpException.h"

LineOutcome ExpressionRunner::Run(std::string_view consoleText, bool skipBlank) {
    try {
        const std::string stripped = StripWhitespace(ToEngineText(consoleText, m_conversion));
        if (skipBlank && stripped.empty())
            return LineOutcome::Blank;
        try {
            m_output.Result(FormatResult(ComputeExpression(stripped, m_variables)));
            m_output.Result("\n");
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

void ExpressionRunner::ReportError(std::string_view engineMessage) {
    std::string text = ToConsoleText(engineMessage);
    text += '\n';
    m_output.Error(text);
}
