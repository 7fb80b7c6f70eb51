// The natural form of any expression that parses, at a line width taken from
// the first two bytes.
#include <memory>

#include "ExpException.h"
#include "ExpParser.h"
#include "ExpressionTree.h"
#include "FuzzSupport.h"
#include "NaturalForm.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = Fuzz::AsText(data, size);
    const unsigned char low = Fuzz::TakeByte(text);
    const unsigned char high = Fuzz::TakeByte(text);
    // Widths from 1 to 512; the top bit chooses the copying constructor.
    const int width = 1 + ((high & 0x01) << 8 | low);
    const bool copy = (high & 0x80) != 0;
    std::unique_ptr<ExpressionTree> tree;
    try {
        tree = ExpParser(text).Parse();
    } catch (const ExpException&) {
        return 0;
    }
    // The lines handed over one by one are the lines Render returns.
    std::vector<std::string> streamed;
    const bool drawn = NaturalForm::Draw(
        *tree, width, [&streamed](std::string_view line) { streamed.emplace_back(line); });
    std::unique_ptr<NaturalForm> form = copy ? std::make_unique<NaturalForm>(tree.get())
                                             : std::make_unique<NaturalForm>(std::move(tree));
    const std::vector<std::string> lines = form->Render(width);
    FUZZ_CHECK(lines.empty() == form->IsTooLarge());
    for (const std::string& line : lines) {
        // A row is one line of the drawing; only the separator holds a line feed.
        FUZZ_CHECK(line == "\n" || line.find('\n') == std::string::npos);
    }
    if (drawn && !form->IsTooLarge())
        FUZZ_CHECK(streamed == lines);
    // Drawing again gives the same picture.
    FUZZ_CHECK(form->Render(width) == lines);
    return 0;
}
