#pragma once

#include <QAbstractScrollArea>
#include <memory>

#include "NaturalFormDrawing.h"

// A read-only box for a natural-form drawing. It keeps the drawing as it
// came, shared with whoever made it, and lays out and paints only the lines
// in view, so a drawing of any size shows at once. It looks and answers as
// a read-only plain-text box without line wrapping: a fixed-pitch font,
// scrolling by lines, selection by mouse, Ctrl+A and copying, and the
// keys that scroll.
class NaturalFormView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    // A place in the drawing: a line and a column of it.
    struct Place {
        int line = 0;
        int column = 0;
        friend auto operator<=>(const Place&, const Place&) = default;
    };

    explicit NaturalFormView(QWidget* parent = nullptr);

    // Shows `drawing` (null shows nothing) and drops the selection. The
    // view stays where it was scrolled as far as the new drawing reaches.
    void SetDrawing(std::shared_ptr<const NaturalFormDrawing> drawing);
    // The drawing shown; null while there is none.
    const NaturalFormDrawing* Drawing() const { return m_drawing.get(); }
    // The lines shown, joined by "\n".
    QString Text() const;

    bool HasSelection() const { return m_anchor != m_cursor; }
    QString SelectedText() const;
    // The selection's ends in reading order.
    Place SelectionStart() const { return std::min(m_anchor, m_cursor); }
    Place SelectionEnd() const { return std::max(m_anchor, m_cursor); }
    void Select(Place anchor, Place cursor);
    void SelectAll();
    void Copy() const;

    // The first line in view, and the place a point of the viewport is on.
    int FirstLineShown() const;
    Place PlaceAt(QPoint point) const;
    // The rectangle of a character, in the viewport.
    QRect CharacterRect(Place place) const;

  signals:
    void SelectionChanged();

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    int LineHeight() const;
    int CharacterWidth() const;
    int LinesInView() const;
    int TopOfFirstLine() const;
    void UpdateScrollBars();
    // Whether the view keeps `key` for itself rather than leaving it to
    // the window's shortcuts.
    bool KeepsKey(const QKeyEvent* key) const;
    Place Clamped(Place place) const;

    std::shared_ptr<const NaturalFormDrawing> m_drawing;
    Place m_anchor;
    Place m_cursor;
};
