#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

// The surface the natural form is drawn on: rows of single-byte cells,
// addressed by level (0 is the main baseline, levels count upwards) and
// column. Every cell not written reads as a space.
//
// A row stores only the span between its leftmost and rightmost written
// cells, so memory follows what is drawn: a million-term sum is one long
// row, a tower of exponents many short ones. A drawing planned first (see
// BeginPlan) gets each row at its exact size; otherwise rows grow in both
// directions with room to spare, so writing in any order costs amortised
// constant time per cell. Storage beyond the byte limit is refused: the canvas then
// reports that it overflowed and ignores further writes.
//
// A planned drawing is written in passes (see BeginPlan): the plan, the
// baseline alone, optionally a survey of where ink goes, and the drawing.
class NaturalCanvas {
  public:
    class Row {
      public:
        char At(int column) const;
        // Whether a cell of columns [from, from + count) is not a space.
        bool HasInk(int from, int count) const;
        // Columns [from, from + count) as text, spaces where nothing is.
        std::string Piece(int from, int count) const;
        // The same into `out`, whose storage is reused.
        void CopyPiece(int from, int count, std::string& out) const;
        int FirstColumn() const { return m_first; }
        int EndColumn() const { return m_end; }
        bool IsEmpty() const { return m_first >= m_end; }
        bool IsUsed() const { return m_used; }

      private:
        friend class NaturalCanvas;
        // Makes room for columns [from, end); returns the bytes added.
        std::size_t Reserve(int from, int end);
        // Extends the span to [from, end) without room for it; returns by
        // how many columns the span grew.
        std::size_t Plan(int from, int end);
        char& Cell(int column) { return m_cells[static_cast<std::size_t>(column - m_origin)]; }

        std::string m_cells;  // m_cells[0] is column m_origin
        int m_origin = 0;
        int m_first = 0;  // written span [m_first, m_end)
        int m_end = 0;
        bool m_used = false;
    };

    // Told, during a survey, where each write would put ink.
    class InkSurvey {
      public:
        // Columns [from, end) of a level.
        virtual void Ink(int level, int from, int end) = 0;
        // One cell in `column` on each level from low to high inclusive.
        virtual void InkColumn(int column, int lowLevel, int highLevel) = 0;

      protected:
        ~InkSurvey() = default;
    };

    explicit NaturalCanvas(std::size_t byteLimit) : m_byteLimit(byteLimit) {}

    void Clear();
    // From here on, writing only notes where each row will hold something,
    // and charges each row's span as it grows, so that a drawing beyond the
    // limit is refused while it is planned. A row written piece by piece
    // from right to left would otherwise grow leftwards step by step, with
    // room to spare at every step.
    void BeginPlan();
    // Gives the baseline (level 0) its planned room; writes are then made
    // on the baseline only, where the drawing may be cut.
    void BeginBaseline();
    // Writes only tell `survey` where they would put ink.
    void BeginSurvey(InkSurvey& survey);
    // Gives every planned row its room at once, exactly; writes are made
    // from now on, except on a baseline drawn already. A canvas never
    // planned is drawn on straight away.
    void BeginDrawing();
    // Records that some node has its baseline on this level.
    void MarkUsed(int level);
    void Write(int column, int level, std::string_view text);
    void WriteRun(int column, int level, int count, char c);
    // A vertical line of one cell on each level from low to high inclusive.
    void WriteColumn(int column, int lowLevel, int highLevel, char c);

    // The row of a level, or null when nothing was written or marked there.
    const Row* Find(int level) const;
    // The highest level marked used, and how many levels are.
    std::optional<int> HighestUsedLevel() const;
    int UsedCount() const { return m_usedCount; }

    bool Overflowed() const { return m_overflowed; }

    // Counts `bytes` against the byte limit; false (and the canvas
    // overflowed) once they are beyond it. The other storage of a drawing is
    // charged here too, so that the limit bounds all the drawing takes.
    bool Charge(std::size_t bytes);
    // Refuses the drawing now (the canvas overflows) when it is known to
    // need `bytes` more than it has been charged so far; nothing is charged.
    bool Foresee(std::int64_t bytes);
    std::size_t ChargedBytes() const { return m_bytes; }

  private:
    enum class Pass { Plan, Baseline, Survey, Draw };

    Row* Take(int level);
    // Where `count` cells from `column` on are to be written, or null when
    // this pass writes nothing there.
    char* Claim(int column, int level, int count);
    void GiveRoom(Row& row);
    // Whether m_rows[index] is the baseline, drawn on a pass of its own.
    bool IsDrawnBaseline(std::size_t index) const;

    std::deque<Row> m_rows;  // m_rows[i] holds level m_topLevel - i
    int m_topLevel = 0;
    int m_usedCount = 0;
    std::size_t m_byteLimit;
    std::size_t m_bytes = 0;
    bool m_overflowed = false;
    Pass m_pass = Pass::Draw;
    InkSurvey* m_survey = nullptr;
    bool m_planned = false;
    bool m_baselineDrawn = false;
};
