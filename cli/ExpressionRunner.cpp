#include "ExpressionRunner.h"

#include <exception>
#include <new>

#include "ConsoleOutput.h"
#include "ConsoleText.h"
#include "ExpCompute.h"
#include "ExpException.h"
#include "ExpMessages.h"
#include "MessageLanguage.h"
#include "NaturalForm.h"

namespace {

// The error box in the user's language: under Chinese, what
// ComposeErrorMessage gives.
std::string TranslatedErrorMessage(const ExpException& error, std::string_view stripped) {
    std::string text = Translated(ExpMessages::kErrorPrefix);
    if (error.GetCode() == EXP_ERR_UNDEFINED) {
        text += Translated(ExpMessages::kUndefinedBefore);
        text += error.GetName();
        text += Translated(ExpMessages::kUndefinedAfter);
    } else {
        text += Translated(error.GetErrorText().c_str());
    }
    text += Translated(ExpMessages::kErrorSuffix);
    text += ErrorExcerpt(error, stripped);
    return text;
}

}  // namespace

LineOutcome ExpressionRunner::Run(std::string_view consoleText, bool skipBlank) {
    try {
        // The line is computed where it stands: only a line with blanks, or
        // one that needs converting, is copied.
        const std::string_view stripped =
            StripWhitespace(ToEngineText(consoleText, m_conversion), m_stripped);
        if (skipBlank && stripped.empty())
            return LineOutcome::Blank;
        try {
            // A tree is built only for the drawing.
            const double value = m_naturalFormWidth ? m_workspace.Compute(stripped)
                                                    : m_workspace.ComputeValue(stripped);
            // The value and its line feed go out as one piece: a value
            // never fills the buffer.
            char formatted[kFormattedResultSize];
            const std::size_t length = FormatResult(value, formatted).size();
            if (length < sizeof formatted) {
                formatted[length] = '\n';
                m_output.Result(std::string_view(formatted, length + 1));
            } else {
                m_output.Result(std::string_view(formatted, length));
                m_output.Result("\n");
            }
            // The value stands already: only the drawing can be lost.
            if (m_naturalFormWidth && !PrintNaturalForm(*m_naturalFormWidth)) {
                m_output.Error("tallyfern-cli: out of memory; the natural form was not drawn\n");
                return LineOutcome::Failed;
            }
            return LineOutcome::Computed;
        } catch (const ExpException& error) {
            ReportError(TranslatedErrorMessage(error, stripped));
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

bool ExpressionRunner::PrintNaturalForm(int width) {
    bool drawn = false;
    try {
        // Names and numbers are ASCII, and so is the whole drawing: it needs
        // no conversion for the terminal.
        drawn = NaturalForm::Draw(m_workspace.Tree(), width, [this](std::string_view line) {
            // The element that separates two segments holds just a line
            // feed: an empty line.
            if (line != "\n")
                m_output.Result(line);
            m_output.Result("\n");
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!drawn)
        m_output.Error("tallyfern-cli: the natural form is too large to draw\n");
    return true;
}

void ExpressionRunner::ReportError(std::string_view engineMessage) {
    // The message quotes the line, which may hold anything.
    std::string text = QuotedText(ToConsoleText(engineMessage));
    text += '\n';
    m_output.Error(text);
}
