#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class NaturalForm;

// A natural form drawn as the window shows it: the text of its lines, each
// ended by "\n", and where each line starts. Made once, by whichever thread
// draws it, and only read afterwards, so it can be handed to the window and
// shared by the box that shows it without a copy.
//
// A place in the drawing is a line and a column counted in UTF-16 units of
// that line, as a QString counts; the drawing's own characters are ASCII,
// where a column is a byte.
class NaturalFormDrawing {
  public:
    // A drawing of the given lines, each ended by "\n".
    explicit NaturalFormDrawing(std::string text);

    // Draws `form` cut for `width` columns. A drawing too large to make is
    // `tooLargeNote`'s line instead. Gives up early, returning null, once
    // `cancelled` is set.
    static std::shared_ptr<const NaturalFormDrawing> Draw(NaturalForm& form, int width,
                                                          const std::string& tooLargeNote,
                                                          const std::atomic<bool>& cancelled);

    // UTF-8, every line ended by "\n".
    const std::string& Text() const { return m_text; }
    int LineCount() const { return static_cast<int>(m_lineStarts.size()); }
    // Line `line` without its "\n".
    std::string_view Line(int line) const;
    // Columns [from, from + count) of line `line`, clipped to the line.
    QString LineText(int line, int from = 0, int count = -1) const;
    // The columns of the line, and of the widest line.
    int LineLength(int line) const;
    int Columns() const { return m_columns; }

    // The lines joined by "\n", as a plain-text box would hold them, and an
    // offset into that text for a place in the drawing and back.
    qsizetype CharacterCount() const;
    qsizetype OffsetOf(int line, int column) const;
    void PlaceOf(qsizetype offset, int* line, int* column) const;
    // The text from place (line, column) to (toLine, toColumn).
    QString TextBetween(int line, int column, int toLine, int toColumn) const;

  private:
    NaturalFormDrawing() = default;
    void AddLine(std::string_view line);
    void Finish();

    std::string m_text;
    std::vector<std::uint32_t> m_lineStarts;
    int m_columns = 0;
    bool m_ascii = true;
};
