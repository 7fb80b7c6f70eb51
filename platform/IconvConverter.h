#pragma once

#include <iconv.h>

#include <cstddef>
#include <string>
#include <string_view>

// One direction of an iconv conversion, opened once and closed by its owner.
class IconvConverter {
  public:
    // What stands in for input that iconv refuses, and how many bytes of it
    // to pass over (at least one).
    struct Substitute {
        std::string_view text;
        std::size_t skip;
    };
    // Called with the input from the refused byte to the end.
    using SubstituteFor = Substitute (*)(std::string_view rest);

    IconvConverter(const char* toCode, const char* fromCode);
    ~IconvConverter();
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    // False when iconv knows one of the two encodings not.
    bool IsOpen() const;

    // Appends the conversion of `input` to `out`. Each place iconv refuses (a
    // sequence that is invalid, has no form in the target, or is cut short at
    // the end) gets what `substitute` says, and conversion goes on after it.
    void Convert(std::string_view input, std::string& out, SubstituteFor substitute);

    // Appends the conversion of `input` when iconv takes all of it; otherwise
    // leaves `out` as it was and returns false.
    bool ConvertWhole(std::string_view input, std::string& out);

  private:
    // Converts as much of [in, in + inLeft) as it can into `out` from
    // `used` on, growing `out` as needed; returns 0 when all of it was
    // taken, else the errno of the refusal (EILSEQ or EINVAL).
    int ConvertUntilRefused(const char*& in, std::size_t& inLeft, std::string& out,
                            std::size_t& used);
    // Appends the sequence that returns a stateful target to its initial
    // state.
    void AppendClosingSequence(std::string& out, std::size_t& used);

    iconv_t m_descriptor;
};
