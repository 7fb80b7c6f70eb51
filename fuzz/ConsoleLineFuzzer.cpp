// The console program's path for standard input: lines split by the reader,
// converted from the locale's encoding to code page 936, computed (and drawn
// in natural form when asked), results and error messages converted back.
// The first byte chooses the locale and the natural form.
#include <sys/mman.h>
#include <unistd.h>

#include <clocale>
#include <optional>

#include "CodePage.h"
#include "ConsoleOutput.h"
#include "ExpressionRunner.h"
#include "FuzzSupport.h"
#include "LineReader.h"
#include "Utf8Sequence.h"
#include "VarTable.h"

namespace {

const char* const kLocales[] = {"C", "de_DE.UTF-8", "zh_CN.GB18030", "C.UTF-8"};

bool IsUtf8(std::string_view text) {
    while (!text.empty()) {
        const std::size_t length = Utf8SequenceLength(text);
        if (length == 0)
            return false;
        text.remove_prefix(length);
    }
    return true;
}

// The conversions in both directions on a line as it stands.
void CheckConversions(std::string_view line, bool localeIsUtf8) {
    FUZZ_CHECK(IsUtf8(CodePage936ToUtf8(line)));
    const std::string utf8 = LocaleToUtf8(line);
    if (!localeIsUtf8)
        FUZZ_CHECK(IsUtf8(utf8));
    const std::string engine = Utf8ToCodePage936(utf8);
    const std::string back = Utf8ToLocale(CodePage936ToUtf8(engine));
    if (IsAscii(line))
        FUZZ_CHECK(back == line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = Fuzz::AsText(data, size);
    const unsigned char choice = Fuzz::TakeByte(text);
    const char* locale = kLocales[choice & 3];
    if (!std::setlocale(LC_ALL, locale))
        std::setlocale(LC_ALL, "C");
    const bool localeIsUtf8 = (choice & 3) != 2;
    std::optional<int> width;
    if (choice & 4)
        width = 1 + Fuzz::TakeByte(text);

    // Standard input as the program sees it: a file it reads in chunks.
    const int fd = memfd_create("stdin", 0);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()));
    FUZZ_CHECK(lseek(fd, 0, SEEK_SET) == 0);

    VarTable variables;
    variables.Insert("x", 2);
    variables.Insert("y", 0.5);
    {
        ConsoleOutput output;
        ExpressionRunner runner(variables, output, width);
        LineReader reader(fd);
        while (const std::optional<std::string_view> line = reader.Next()) {
            CheckConversions(*line, localeIsUtf8);
            runner.ComputeLine(*line);
        }
        FUZZ_CHECK(reader.ReadError() == 0);
        output.Finish();
    }
    close(fd);
    return 0;
}
