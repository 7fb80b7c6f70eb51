// The console program's path for standard input: lines split by the reader,
// converted from the locale's encoding to UTF-8, computed (and drawn
// in natural form when asked), results and error messages converted back.
// The first byte chooses the locale and the natural form.
//
// What the streaming path prints for the whole input must be what computing
// each line of a plain split alone prints: a line read wrongly, lost, or
// written out of order shows as a difference, even when every piece of it is
// a valid result.
#include <sys/mman.h>
#include <unistd.h>

#include <clocale>
#include <optional>
#include <string>

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

// The conversions in both directions on a line as it stands: the engine
// always receives valid UTF-8, and ASCII passes unchanged.
void CheckConversions(std::string_view line) {
    const std::string utf8 = LocaleToUtf8(line);
    FUZZ_CHECK(IsUtf8(utf8));
    const std::string back = Utf8ToLocale(utf8);
    if (IsAscii(line))
        FUZZ_CHECK(back == line);
}

// An in-memory file: standard input, or where results and errors go.
class MemoryFile {
  public:
    MemoryFile() : m_fd(memfd_create("tallyfern", 0)) { FUZZ_CHECK(m_fd >= 0); }
    explicit MemoryFile(std::string_view contents) : MemoryFile() {
        FUZZ_CHECK(write(m_fd, contents.data(), contents.size()) ==
                   static_cast<ssize_t>(contents.size()));
        FUZZ_CHECK(lseek(m_fd, 0, SEEK_SET) == 0);
    }
    ~MemoryFile() { close(m_fd); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    int Fd() const { return m_fd; }
    std::string Contents() const {
        const off_t size = lseek(m_fd, 0, SEEK_END);
        std::string contents(static_cast<std::size_t>(size), '\0');
        FUZZ_CHECK(pread(m_fd, contents.data(), contents.size(), 0) == size);
        return contents;
    }

  private:
    int m_fd;
};

// Results and errors of the whole input, read as the program reads it.
std::string ComputeStream(std::string_view input, const VarTable& variables,
                          std::optional<int> width) {
    const MemoryFile in(input);
    const MemoryFile out;
    {
        ConsoleOutput output(out.Fd(), out.Fd());
        ExpressionRunner runner(variables, output, width);
        LineReader reader(in.Fd(), [&output] { output.Flush(); });
        while (const std::optional<std::string_view> line = reader.Next()) {
            CheckConversions(*line);
            runner.ComputeLine(*line);
        }
        FUZZ_CHECK(reader.ReadError() == 0);
        FUZZ_CHECK(output.Finish());
    }
    return out.Contents();
}

// The same, each line of a plain split at LF, CRLF or a lone CR computed on
// its own and written out before the next line starts.
std::string ComputeEachLine(std::string_view input, const VarTable& variables,
                            std::optional<int> width) {
    const MemoryFile out;
    ConsoleOutput output(out.Fd(), out.Fd());
    while (!input.empty()) {
        const std::size_t ending = input.find_first_of("\n\r");
        const std::string_view line = input.substr(0, ending);
        std::size_t next = input.size();
        if (ending != std::string_view::npos)
            next = input.substr(ending, 2) == "\r\n" ? ending + 2 : ending + 1;
        input.remove_prefix(next);
        ExpressionRunner(variables, output, width).ComputeLine(line);
        FUZZ_CHECK(output.Finish());
    }
    return out.Contents();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = Fuzz::AsText(data, size);
    const unsigned char choice = Fuzz::TakeByte(text);
    const char* locale = kLocales[choice & 3];
    if (!std::setlocale(LC_ALL, locale))
        std::setlocale(LC_ALL, "C");
    std::optional<int> width;
    if (choice & 4)
        width = 1 + Fuzz::TakeByte(text);

    VarTable variables;
    variables.Insert("x", 2);
    variables.Insert("y", 0.5);
    FUZZ_CHECK(ComputeStream(text, variables, width) == ComputeEachLine(text, variables, width));
    return 0;
}
