#include "IconvConverter.h"

#include <cerrno>
#include <cstring>

namespace {

const iconv_t kNotOpen = reinterpret_cast<iconv_t>(-1);
constexpr std::size_t kFailed = static_cast<std::size_t>(-1);
// Room for a few characters beyond the input's own length, so that short
// texts rarely need a second round.
constexpr std::size_t kSlack = 16;

void Grow(std::string& out) {
    out.resize(out.size() * 2 + kSlack);
}

}  // namespace

IconvConverter::IconvConverter(const char* toCode, const char* fromCode)
    : m_descriptor(iconv_open(toCode, fromCode)) {}

IconvConverter::~IconvConverter() {
    if (IsOpen())
        iconv_close(m_descriptor);
}

bool IconvConverter::IsOpen() const {
    return m_descriptor != kNotOpen;
}

int IconvConverter::ConvertUntilRefused(const char*& in, std::size_t& inLeft, std::string& out,
                                        std::size_t& used) {
    while (inLeft > 0) {
        // iconv's interface takes the input as non-const; it never writes to it.
        char* from = const_cast<char*>(in);
        char* to = out.data() + used;
        std::size_t toLeft = out.size() - used;
        const std::size_t result = iconv(m_descriptor, &from, &inLeft, &to, &toLeft);
        const int error = errno;
        in = from;
        used = out.size() - toLeft;
        if (result != kFailed)
            return 0;
        if (error != E2BIG)
            return error;
        Grow(out);
    }
    return 0;
}

void IconvConverter::AppendClosingSequence(std::string& out, std::size_t& used) {
    for (;;) {
        char* to = out.data() + used;
        std::size_t toLeft = out.size() - used;
        const std::size_t result = iconv(m_descriptor, nullptr, nullptr, &to, &toLeft);
        const int error = errno;
        used = out.size() - toLeft;
        if (result != kFailed || error != E2BIG)
            return;
        Grow(out);
    }
}

void IconvConverter::Convert(std::string_view input, std::string& out, SubstituteFor substitute) {
    iconv(m_descriptor, nullptr, nullptr, nullptr, nullptr);
    std::size_t used = out.size();
    out.resize(used + input.size() + kSlack);
    const char* in = input.data();
    std::size_t inLeft = input.size();
    while (ConvertUntilRefused(in, inLeft, out, used) != 0) {
        // The substitute is plain text: a stateful target must be back in its
        // initial state before it.
        AppendClosingSequence(out, used);
        const Substitute replacement = substitute(std::string_view(in, inLeft));
        while (out.size() - used < replacement.text.size())
            Grow(out);
        std::memcpy(out.data() + used, replacement.text.data(), replacement.text.size());
        used += replacement.text.size();
        const std::size_t skip =
            replacement.skip == 0 ? 1 : (replacement.skip < inLeft ? replacement.skip : inLeft);
        in += skip;
        inLeft -= skip;
    }
    AppendClosingSequence(out, used);
    out.resize(used);
}

bool IconvConverter::ConvertWhole(std::string_view input, std::string& out) {
    iconv(m_descriptor, nullptr, nullptr, nullptr, nullptr);
    const std::size_t before = out.size();
    std::size_t used = before;
    out.resize(used + input.size() * 2 + kSlack);
    const char* in = input.data();
    std::size_t inLeft = input.size();
    if (ConvertUntilRefused(in, inLeft, out, used) != 0) {
        out.resize(before);
        return false;
    }
    AppendClosingSequence(out, used);
    out.resize(used);
    return true;
}
