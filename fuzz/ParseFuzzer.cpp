// The parser on any bytes: it either builds a well-formed tree or reports an
// error at a place inside the text (or just past its end). A tree printed
// back as text reads as the same tree, and a copy is the same tree.
#include "ExpException.h"
#include "ExpParser.h"
#include "ExpressionTree.h"
#include "FuzzSupport.h"
#include "TreeCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = Fuzz::AsText(data, size);
    try {
        const std::unique_ptr<ExpressionTree> tree = ExpParser(text).Parse();
        FUZZ_CHECK(tree != nullptr);
        // Every node stands for at least one byte of the text, except the
        // implied "0", "10" and '*' of a literal such as .5e3.
        FUZZ_CHECK(Fuzz::CheckTree(*tree) <= 4 * size + 4);
        const ExpressionTree copy(*tree);
        FUZZ_CHECK(Fuzz::SameTree(*tree, copy));
        const std::string printed = Fuzz::PrintTree(*tree);
        const std::unique_ptr<ExpressionTree> again = ExpParser(printed).Parse();
        FUZZ_CHECK(Fuzz::SameTree(*tree, *again));
    } catch (const ExpException& error) {
        FUZZ_CHECK(error.GetPosition() >= 0);
        FUZZ_CHECK(static_cast<std::size_t>(error.GetPosition()) <= size + 1);
        FUZZ_CHECK(!error.GetErrorText().empty());
    }
    return 0;
}
