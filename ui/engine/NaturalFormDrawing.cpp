#include "NaturalFormDrawing.h"

#include <algorithm>
#include <new>

#include "NaturalForm.h"

namespace {

// Thrown from inside the drawing to stop one nobody waits for any more.
struct DrawingCancelled {};

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

NaturalFormDrawing::NaturalFormDrawing(std::string text) {
    m_text = std::move(text);
    std::size_t start = 0;
    while (start < m_text.size()) {
        const std::size_t end = std::min(m_text.find('\n', start), m_text.size());
        m_lineStarts.push_back(static_cast<std::uint32_t>(start));
        start = end + 1;
    }
    if (!m_text.empty() && m_text.back() != '\n')
        m_text += '\n';
    Finish();
}

std::shared_ptr<const NaturalFormDrawing> NaturalFormDrawing::Draw(
    NaturalForm& form, int width, const std::string& tooLargeNote,
    const std::atomic<bool>& cancelled) {
    std::shared_ptr<NaturalFormDrawing> drawing(new NaturalFormDrawing());
    bool drawn = false;
    try {
        // Each line keeps its start besides its text and line end.
        drawn = form.DrawLines(width, sizeof(std::uint32_t) + 1, [&](std::string_view line) {
            if (cancelled.load(std::memory_order_relaxed))
                throw DrawingCancelled();
            // The element that separates two segments holds just a line
            // feed: an empty line.
            drawing->AddLine(line == "\n" ? std::string_view() : line);
        });
    } catch (const DrawingCancelled&) {
        return nullptr;
    } catch (const std::bad_alloc&) {
        // Too late to refuse the computation, whose result shows; what the
        // drawing held is freed by now.
        drawn = false;
    }
    if (!drawn)
        return std::make_shared<const NaturalFormDrawing>(tooLargeNote);
    drawing->Finish();
    return drawing;
}

void NaturalFormDrawing::AddLine(std::string_view line) {
    m_lineStarts.push_back(static_cast<std::uint32_t>(m_text.size()));
    m_text += line;
    m_text += '\n';
}

void NaturalFormDrawing::Finish() {
    m_ascii = IsAscii(m_text);
    m_columns = 0;
    for (int line = 0; line < LineCount(); ++line)
        m_columns = std::max(m_columns, LineLength(line));
}

std::string_view NaturalFormDrawing::Line(int line) const {
    const std::size_t start = m_lineStarts[static_cast<std::size_t>(line)];
    const std::size_t end = static_cast<std::size_t>(line) + 1 < m_lineStarts.size()
                                ? m_lineStarts[static_cast<std::size_t>(line) + 1]
                                : m_text.size();
    return std::string_view(m_text).substr(start, end - start - 1);
}

QString NaturalFormDrawing::LineText(int line, int from, int count) const {
    const std::string_view text = Line(line);
    if (m_ascii) {
        // A slice of a long line needs no more than its own bytes decoded.
        const std::string_view slice =
            text.substr(std::min<std::size_t>(from, text.size()),
                        count < 0 ? std::string_view::npos : static_cast<std::size_t>(count));
        return QString::fromLatin1(slice.data(), static_cast<qsizetype>(slice.size()));
    }
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).mid(from, count);
}

int NaturalFormDrawing::LineLength(int line) const {
    const std::string_view text = Line(line);
    if (m_ascii)
        return static_cast<int>(text.size());
    return static_cast<int>(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).size());
}

qsizetype NaturalFormDrawing::CharacterCount() const {
    if (m_lineStarts.empty())
        return 0;
    return OffsetOf(LineCount() - 1, LineLength(LineCount() - 1));
}

qsizetype NaturalFormDrawing::OffsetOf(int line, int column) const {
    if (m_ascii)
        return static_cast<qsizetype>(m_lineStarts[static_cast<std::size_t>(line)]) + column;
    qsizetype offset = 0;
    for (int before = 0; before < line; ++before)
        offset += LineLength(before) + 1;
    return offset + column;
}

void NaturalFormDrawing::PlaceOf(qsizetype offset, int* line, int* column) const {
    *line = 0;
    *column = 0;
    if (m_lineStarts.empty())
        return;
    offset = std::clamp<qsizetype>(offset, 0, CharacterCount());
    if (m_ascii) {
        const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(),
                                            static_cast<std::uint32_t>(offset));
        *line = static_cast<int>(after - m_lineStarts.begin()) - 1;
        *column = static_cast<int>(offset - m_lineStarts[static_cast<std::size_t>(*line)]);
        return;
    }
    while (*line + 1 < LineCount() && offset > LineLength(*line)) {
        offset -= LineLength(*line) + 1;
        ++*line;
    }
    *column = static_cast<int>(offset);
}

QString NaturalFormDrawing::TextBetween(int line, int column, int toLine, int toColumn) const {
    if (m_ascii) {
        // The lines with their line ends are that text already.
        const qsizetype from = OffsetOf(line, column);
        return QString::fromLatin1(m_text.data() + from, OffsetOf(toLine, toColumn) - from);
    }
    if (line == toLine)
        return LineText(line, column, toColumn - column);
    QString text = LineText(line, column);
    for (int inner = line + 1; inner < toLine; ++inner)
        text += QLatin1Char('\n') + LineText(inner);
    text += QLatin1Char('\n') + LineText(toLine, 0, toColumn);
    return text;
}
