#include "NaturalCanvas.h"

#include <algorithm>
#include <cstdint>

char NaturalCanvas::Row::At(int column) const {
    if (column < m_first || column >= m_end)
        return ' ';
    return m_cells[static_cast<std::size_t>(column - m_origin)];
}

bool NaturalCanvas::Row::HasInk(int from, int count) const {
    const int begin = std::max(from, m_first);
    const int end = std::min(from + count, m_end);
    for (int column = begin; column < end; ++column) {
        if (m_cells[static_cast<std::size_t>(column - m_origin)] != ' ')
            return true;
    }
    return false;
}

std::string NaturalCanvas::Row::Piece(int from, int count) const {
    std::string piece(static_cast<std::size_t>(count), ' ');
    const int begin = std::max(from, m_first);
    const int end = std::min(from + count, m_end);
    if (begin < end) {
        piece.replace(static_cast<std::size_t>(begin - from), static_cast<std::size_t>(end - begin),
                      m_cells, static_cast<std::size_t>(begin - m_origin),
                      static_cast<std::size_t>(end - begin));
    }
    return piece;
}

void NaturalCanvas::Row::CopyPiece(int from, int count, std::string& out) const {
    out.assign(static_cast<std::size_t>(count), ' ');
    const int begin = std::max(from, m_first);
    const int end = std::min(from + count, m_end);
    if (begin < end) {
        std::copy(m_cells.begin() + (begin - m_origin), m_cells.begin() + (end - m_origin),
                  out.begin() + (begin - from));
    }
}

std::size_t NaturalCanvas::Row::Reserve(int from, int end) {
    if (IsEmpty()) {
        m_first = from;
        m_end = from;
        if (m_cells.empty())
            m_origin = from;
    }
    const int origin = m_origin;
    const int limit = m_origin + static_cast<int>(m_cells.size());
    std::size_t added = 0;
    if (from < origin) {
        // Growing leftwards doubles the room as well, so that a row drawn
        // from right to left is not copied once per cell. The new cells are
        // made at their exact size: inserting at the front would let the
        // string's own growth double its capacity again on top of that.
        const int grow = std::max(origin - from, static_cast<int>(m_cells.size()));
        std::string cells(static_cast<std::size_t>(grow) + m_cells.size(), ' ');
        std::copy(m_cells.begin(), m_cells.end(), cells.begin() + grow);
        m_cells.swap(cells);
        m_origin -= grow;
        added += static_cast<std::size_t>(grow);
    }
    if (end > limit) {
        const std::size_t needed = static_cast<std::size_t>(end - m_origin);
        added += needed - m_cells.size();
        m_cells.resize(needed, ' ');
    }
    m_first = std::min(m_first, from);
    m_end = std::max(m_end, end);
    return added;
}

void NaturalCanvas::Clear() {
    m_rows.clear();
    m_topLevel = 0;
    m_usedCount = 0;
    m_bytes = 0;
    m_overflowed = false;
    m_pass = Pass::Draw;
    m_survey = nullptr;
    m_baselineDrawn = false;
    m_planned = false;
}

bool NaturalCanvas::Charge(std::size_t bytes) {
    m_bytes += bytes;
    if (m_bytes > m_byteLimit)
        m_overflowed = true;
    return !m_overflowed;
}

bool NaturalCanvas::Foresee(std::int64_t bytes) {
    if (bytes > 0 &&
        static_cast<std::uint64_t>(bytes) > m_byteLimit - std::min(m_bytes, m_byteLimit))
        m_overflowed = true;
    return !m_overflowed;
}

bool NaturalCanvas::IsDrawnBaseline(std::size_t index) const {
    return m_baselineDrawn && std::int64_t{m_topLevel} == static_cast<std::int64_t>(index);
}

NaturalCanvas::Row* NaturalCanvas::Take(int level) {
    if (m_overflowed)
        return nullptr;
    if (m_rows.empty()) {
        if (!Charge(sizeof(Row)))
            return nullptr;
        m_rows.emplace_back();
        m_topLevel = level;
        return &m_rows.front();
    }
    const std::int64_t bottomLevel =
        std::int64_t{m_topLevel} - static_cast<std::int64_t>(m_rows.size()) + 1;
    const std::int64_t added = level > m_topLevel    ? std::int64_t{level} - m_topLevel
                               : level < bottomLevel ? bottomLevel - level
                                                     : 0;
    if (added > 0 && !Charge(static_cast<std::size_t>(added) * sizeof(Row)))
        return nullptr;
    if (level > m_topLevel) {
        m_rows.insert(m_rows.begin(), static_cast<std::size_t>(added), Row{});
        m_topLevel = level;
    } else if (level < bottomLevel) {
        m_rows.resize(m_rows.size() + static_cast<std::size_t>(added));
    }
    return &m_rows[static_cast<std::size_t>(std::int64_t{m_topLevel} - level)];
}

std::size_t NaturalCanvas::Row::Plan(int from, int end) {
    const std::int64_t before = IsEmpty() ? 0 : std::int64_t{m_end} - m_first;
    if (IsEmpty()) {
        m_first = from;
        m_end = end;
    } else {
        m_first = std::min(m_first, from);
        m_end = std::max(m_end, end);
    }
    return static_cast<std::size_t>(std::int64_t{m_end} - m_first - before);
}

void NaturalCanvas::BeginPlan() {
    m_pass = Pass::Plan;
    m_planned = true;
}

void NaturalCanvas::GiveRoom(Row& row) {
    if (m_overflowed || row.IsEmpty())
        return;
    // Charged while planned.
    row.m_cells.assign(static_cast<std::size_t>(row.m_end - row.m_first), ' ');
    row.m_origin = row.m_first;
}

void NaturalCanvas::BeginBaseline() {
    m_pass = Pass::Baseline;
    m_baselineDrawn = true;
    if (const std::int64_t index = m_topLevel;
        index >= 0 && index < static_cast<std::int64_t>(m_rows.size()))
        GiveRoom(m_rows[static_cast<std::size_t>(index)]);
}

void NaturalCanvas::BeginSurvey(InkSurvey& survey) {
    m_pass = Pass::Survey;
    m_survey = &survey;
}

void NaturalCanvas::BeginDrawing() {
    m_pass = Pass::Draw;
    m_survey = nullptr;
    if (m_planned) {
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (!IsDrawnBaseline(i))
                GiveRoom(m_rows[i]);
        }
    }
}

void NaturalCanvas::MarkUsed(int level) {
    // A plan marks every level the later passes mark.
    if (m_planned && m_pass != Pass::Plan)
        return;
    Row* row = Take(level);
    if (row && !row->m_used) {
        row->m_used = true;
        ++m_usedCount;
    }
}

char* NaturalCanvas::Claim(int column, int level, int count) {
    if (m_pass == Pass::Survey) {
        m_survey->Ink(level, column, column + count);
        return nullptr;
    }
    // The baseline is drawn on a pass of its own, and only then.
    if (m_pass == Pass::Baseline && level != 0)
        return nullptr;
    if (m_pass == Pass::Draw && m_baselineDrawn && level == 0)
        return nullptr;
    Row* row = Take(level);
    if (!row)
        return nullptr;
    if (m_pass == Pass::Plan) {
        Charge(row->Plan(column, column + count));
        return nullptr;
    }
    if (!Charge(row->Reserve(column, column + count)))
        return nullptr;
    return &row->Cell(column);
}

void NaturalCanvas::Write(int column, int level, std::string_view text) {
    if (text.empty())
        return;
    if (char* cells = Claim(column, level, static_cast<int>(text.size())))
        std::copy(text.begin(), text.end(), cells);
}

void NaturalCanvas::WriteRun(int column, int level, int count, char c) {
    if (count <= 0)
        return;
    if (char* cells = Claim(column, level, count))
        std::fill_n(cells, count, c);
}

void NaturalCanvas::WriteColumn(int column, int lowLevel, int highLevel, char c) {
    if (lowLevel > highLevel)
        return;
    switch (m_pass) {
        case Pass::Survey:
            m_survey->InkColumn(column, lowLevel, highLevel);
            return;
        case Pass::Baseline:
            if (lowLevel <= 0 && highLevel >= 0)
                WriteRun(column, 0, 1, c);
            return;
        case Pass::Plan:
        case Pass::Draw:
            break;
    }
    // The rows of both ends first, so that every row between exists: the
    // cells are then reached without looking each row up.
    if (!Take(highLevel) || !Take(lowLevel))
        return;
    const auto first = static_cast<std::size_t>(std::int64_t{m_topLevel} - highLevel);
    const auto last = static_cast<std::size_t>(std::int64_t{m_topLevel} - lowLevel);
    if (m_pass == Pass::Plan) {
        std::size_t grown = 0;
        for (std::size_t i = first; i <= last; ++i)
            grown += m_rows[i].Plan(column, column + 1);
        Charge(grown);
        return;
    }
    for (std::size_t i = first; i <= last; ++i) {
        if (IsDrawnBaseline(i))
            continue;
        Row& row = m_rows[i];
        if (!Charge(row.Reserve(column, column + 1)))
            return;
        row.Cell(column) = c;
    }
}

const NaturalCanvas::Row* NaturalCanvas::Find(int level) const {
    const std::int64_t index = std::int64_t{m_topLevel} - level;
    if (index < 0 || index >= static_cast<std::int64_t>(m_rows.size()))
        return nullptr;
    return &m_rows[static_cast<std::size_t>(index)];
}

std::optional<int> NaturalCanvas::HighestUsedLevel() const {
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].m_used)
            return static_cast<int>(std::int64_t{m_topLevel} - static_cast<std::int64_t>(i));
    }
    return std::nullopt;
}
