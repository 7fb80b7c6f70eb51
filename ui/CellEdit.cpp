#include "CellEdit.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QValidator>
#include <optional>

#include "FullWidthForms.h"
#include "WindowKeys.h"

namespace {

constexpr int kBorderPixels = 1;
// Room kept right of the text while typing.
constexpr int kWidenMarginPixels = 5;

// A line edit hands every change of its text to its validator, whether it
// was typed, pasted, dropped or committed by an input method; this one
// turns full-width forms into ASCII and accepts everything.
class AsciiFormsValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override {
        input = ToAsciiForms(std::move(input), position);
        return Acceptable;
    }
};

}  // namespace

CellEdit::CellEdit(QAbstractItemView* grid, int row, int column, const QString& initialText)
    : QLineEdit(grid->viewport()),
      m_grid(grid),
      m_cell(grid->model()->index(row, column)),
      m_column(column),
      m_initialText(initialText) {
    setObjectName(QStringLiteral("cellEdit"));
    setFrame(false);
    setTextMargins(kBorderPixels, 0, kBorderPixels, 0);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setFont(grid->font());
    setValidator(new AsciiFormsValidator(this));
}

void CellEdit::Open(const QRect& rect) {
    setGeometry(rect);
    setText(m_initialText);
    show();
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

bool CellEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        // The window's keys for clearing and computing commit or drop the
        // edit here, and the menu keys open the editor's own menu.
        const int pressed = key->key();
        if (pressed == Qt::Key_Escape || pressed == Qt::Key_Return || pressed == Qt::Key_Enter ||
            IsOneOf(key, WindowMenuKeys())) {
            event->accept();
            return true;
        }
        // The copy key copies the result here as everywhere in the window,
        // where a line edit would type it.
        if (IsOneOf(key, CopyResultKeys()))
            return QWidget::event(event);
    }
    return QLineEdit::event(event);
}

void CellEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
        m_cancelled = key == Qt::Key_Escape;
        m_grid->setFocus(Qt::OtherFocusReason);
        // Where the window is not active the focus does not move at once;
        // the edit ends all the same.
        EndEdit();
        return;
    }
    if (!event->text().isEmpty() && event->text().at(0).isPrint())
        WidenForText();
    QLineEdit::keyPressEvent(event);
}

void CellEdit::WidenForText() {
    // Measured before the new character goes in, so the box stays a little
    // ahead of the text until it reaches the grid's edge.
    const int needed = QFontMetrics(m_grid->font()).horizontalAdvance(text()) + kWidenMarginPixels;
    if (width() - 2 * kBorderPixels >= needed)
        return;
    const int right = std::min(x() + needed, m_grid->viewport()->width());
    if (right > x() + width())
        resize(right - x(), height());
}

void CellEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The editor's own context menu does not end the edit.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    EndEdit();
}

void CellEdit::Commit() {
    EndEdit();
}

void CellEdit::Cancel() {
    m_cancelled = true;
    EndEdit();
}

void CellEdit::EndEdit() {
    if (m_ended)
        return;
    m_ended = true;
    hide();
    const std::optional<QString> newText =
        m_cancelled ? std::nullopt : std::optional<QString>(text());
    // A rejected text is reported in a message box, which runs the event
    // loop; the grid may go away meanwhile.
    QPointer<CellEdit> self(this);
    emit EditEnded(Row(), m_column, newText);
    if (self)
        deleteLater();
}

void CellEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
