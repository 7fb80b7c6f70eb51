#include "ExpressionEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <limits>

namespace {

// The line edit keeps this much room between the frame and the text on each
// side, and needs one more pixel for the caret.
constexpr int kTextMargin = 2;
constexpr int kCaretWidth = 1;

}  // namespace

CExpressionEdit::CExpressionEdit(QWidget* parent) : QLineEdit(parent) {
    // The editor may hand over an expression of any length; Qt would cut a
    // line edit's text at 32767 characters without a word.
    setMaxLength(std::numeric_limits<int>::max());
    connect(this, &QLineEdit::textEdited, this, [this] { ResetHistoryWalk(); });
}

bool CExpressionEdit::Fits(const QString& text) const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const QMargins margins = textMargins();
    const int room =
        contents.width() - margins.left() - margins.right() - 2 * kTextMargin - kCaretWidth;
    return fontMetrics().horizontalAdvance(text) <= room;
}

void CExpressionEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            WalkHistory(event->key() == Qt::Key_Up ? -1 : +1);
            event->accept();
            return;
        }
    }
    const QString typed = event->text();
    const bool insertsText =
        !typed.isEmpty() && typed.at(0).isPrint() && !isReadOnly() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (insertsText) {
        QString candidate = text();
        if (hasSelectedText()) {
            candidate.replace(selectionStart(), selectedText().size(), typed);
        } else {
            candidate.insert(cursorPosition(), typed);
        }
        if (!Fits(candidate)) {
            QApplication::beep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void CExpressionEdit::WalkHistory(int step) {
    const QStringList entries = m_historySource ? m_historySource() : QStringList{};
    if (entries.isEmpty())
        return;
    int next;
    if (m_historyIndex < 0) {
        if (step > 0)
            return;  // below the typed text there is nothing
        m_draft = text();
        next = static_cast<int>(entries.size()) - 1;
    } else {
        next = m_historyIndex + step;
        if (next < 0)
            return;  // the oldest entry stays
    }
    if (next >= entries.size()) {
        m_historyIndex = -1;
        setText(m_draft);
        return;
    }
    m_historyIndex = next;
    setText(entries.at(next));
}
