#include "ExpressionEdit.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFrame>
#include <QTextCharFormat>
#include <QToolTip>
#include <algorithm>
#include <limits>

#include "FullWidthForms.h"
#include "ScreenReaderNotice.h"
#include "TypingHelper.h"

namespace {

// What an input method is told of the text around the caret, each side.
constexpr qsizetype kSurroundingReach = 1024;

// Whether a key's text is something to write, as Qt's line edit judges it.
bool WritesText(const QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    const QChar c = text.at(0);
    if (c.category() == QChar::Other_Format)
        return true;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ShiftModifier | Qt::ControlModifier))
        return false;
    return c.isPrint() || c.category() == QChar::Other_PrivateUse ||
           (c.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate());
}

// Tells screen readers what an edit removed and inserted.
void AnnounceEdit(QObject* box, const EditableLine::Change& change, const QString& inserted) {
    const int at = static_cast<int>(change.at);
    if (change.removed.isEmpty()) {
        QAccessibleTextInsertEvent notice(box, at, inserted);
        QAccessible::updateAccessibility(&notice);
    } else if (inserted.isEmpty()) {
        QAccessibleTextRemoveEvent notice(box, at, change.removed);
        QAccessible::updateAccessibility(&notice);
    } else {
        QAccessibleTextUpdateEvent notice(box, at, change.removed, inserted);
        QAccessible::updateAccessibility(&notice);
    }
}

// Shift+F10 and the Menu key open the edit menu, as a right click does.
bool OpensEditMenu(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
           (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
}

QString WithShortcut(const char* text, QKeySequence::StandardKey key) {
    const QString shortcut = QKeySequence(key).toString(QKeySequence::NativeText);
    // Qt's own words, so that its translations name the entries.
    const QString name = QCoreApplication::translate("QLineEdit", text);
    return shortcut.isEmpty() ? name : name + u'\t' + shortcut;
}

}  // namespace

ExpressionEdit::ExpressionEdit(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setSizePolicy(QSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed, QSizePolicy::LineEdit));
    setBackgroundRole(QPalette::Base);
    setAttribute(Qt::WA_KeyCompression);
    setMouseTracking(true);
    setAcceptDrops(true);
    setCursor(Qt::IBeamCursor);
    m_typingHelp = new TypingHelper(this);
    connect(m_typingHelp, &TypingHelper::Take, this,
            [this](qsizetype from, qsizetype to, const QString& text) {
                Change(true, [&] { m_line.Replace(from, to, text); });
            });
    connect(m_typingHelp, &TypingHelper::Tell, new ScreenReaderNotice(this),
            &ScreenReaderNotice::Tell);
}

ExpressionEdit::~ExpressionEdit() = default;

template <class Action>
void ExpressionEdit::Change(bool byUser, Action action) {
    const quint64 revision = m_line.Revision();
    const qsizetype cursor = m_line.Cursor();
    const qsizetype anchor = m_line.Anchor();
    action();
    const QString& text = m_line.Text();
    const bool edited = m_line.Revision() != revision;
    if (edited) {
        const EditableLine::Change change = m_line.TakeLastChange();
        m_view.Edited(change.at, change.removed.size(), change.inserted);
        ClearErrorMark();
        if (QAccessible::isActive())
            AnnounceEdit(this, change, text.mid(change.at, change.inserted));
        if (byUser)
            ResetHistoryWalk();
        emit textChanged(text);
        if (byUser)
            emit textEdited(text);
    }
    if (m_line.Cursor() != cursor) {
        if (QAccessible::isActive()) {
            QAccessibleTextCursorEvent notice(this, cursorPosition());
            QAccessible::updateAccessibility(&notice);
        }
        emit cursorPositionChanged(static_cast<int>(cursor), cursorPosition());
    }
    const bool hadSelection = cursor != anchor;
    const bool selectionMoved = m_line.HasSelection()
                                    ? m_line.Cursor() != cursor || m_line.Anchor() != anchor
                                    : hadSelection;
    if (selectionMoved) {
        if (QAccessible::isActive()) {
            QAccessibleTextSelectionEvent notice(this, selectionStart(), selectionEnd());
            QAccessible::updateAccessibility(&notice);
        }
        emit selectionChanged();
    }
    m_view.Invalidate();
    m_typingHelp->Follow(text, m_line.Cursor(), m_line.HasSelection(), byUser && edited);
    RestartBlink();
}

void ExpressionEdit::SetErrorMark(qsizetype from, qsizetype to, const QString& message) {
    from = std::clamp<qsizetype>(from, 0, m_line.Text().size());
    to = std::clamp<qsizetype>(to, from, m_line.Text().size());
    if (from == to) {
        ClearErrorMark();
        return;
    }
    m_markFrom = from;
    m_markTo = to;
    m_markMessage = message;
    setAccessibleDescription(message);
    update();
}

void ExpressionEdit::ClearErrorMark() {
    if (!HasErrorMark())
        return;
    // The description may tell a result by now, which stays.
    if (accessibleDescription() == m_markMessage)
        setAccessibleDescription(QString());
    if (QToolTip::isVisible() && QToolTip::text() == m_markMessage)
        QToolTip::hideText();
    m_markFrom = m_markTo = 0;
    m_markMessage.clear();
    update();
}

bool ExpressionEdit::ShowMarkTip(const QHelpEvent* event) {
    if (!HasErrorMark())
        return false;
    Arrange();
    const QRect marked = m_view.SpanRect(m_markFrom, m_markTo);
    if (!marked.contains(event->pos()))
        return false;
    QToolTip::showText(event->globalPos(), m_markMessage, this, marked);
    return true;
}

void ExpressionEdit::setText(const QString& text) {
    Change(false, [&] { m_line.SetText(text); });
}

void ExpressionEdit::setCursorPosition(int position) {
    Change(false, [&] { m_line.MoveCursor(position, false); });
}

int ExpressionEdit::selectionStart() const {
    return m_line.HasSelection() ? static_cast<int>(m_line.SelectionStart()) : -1;
}

int ExpressionEdit::selectionEnd() const {
    return m_line.HasSelection() ? static_cast<int>(m_line.SelectionEnd()) : -1;
}

void ExpressionEdit::setSelection(int start, int length) {
    Change(false, [&] { m_line.Select(start, qsizetype{start} + length); });
}

void ExpressionEdit::selectAll() {
    Change(false, [&] { m_line.Select(0, m_line.Text().size()); });
}

void ExpressionEdit::deselect() {
    Change(false, [&] { m_line.MoveCursor(m_line.Cursor(), false); });
}

void ExpressionEdit::insert(const QString& text) {
    Change(true, [&] { m_line.Insert(ToAsciiForms(text)); });
}

void ExpressionEdit::setAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    m_view.Invalidate();
    update();
}

void ExpressionEdit::undo() {
    Change(true, [&] { m_line.Undo(); });
}

void ExpressionEdit::redo() {
    Change(true, [&] { m_line.Redo(); });
}

void ExpressionEdit::copy() const {
    if (m_line.HasSelection())
        QGuiApplication::clipboard()->setText(m_line.SelectedText());
}

void ExpressionEdit::cut() {
    if (!m_line.HasSelection())
        return;
    copy();
    Change(true, [&] { m_line.RemoveSelection(); });
}

void ExpressionEdit::paste() {
    const QString pasted = QGuiApplication::clipboard()->text();
    if (!pasted.isEmpty() || m_line.HasSelection())
        insert(pasted);
}

// X11 keeps the last text selected with the mouse for a middle click.
void ExpressionEdit::CopyToSelection() const {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection() && m_line.HasSelection())
        clipboard->setText(m_line.SelectedText(), QClipboard::Selection);
}

bool ExpressionEdit::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && ShowMarkTip(static_cast<QHelpEvent*>(event)))
        return true;
    // While the list of names is open, its keys (Tab, Enter, Escape, the
    // arrows) are the list's, before the focus chain or a shortcut.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
        m_typingHelp->Claims(static_cast<QKeyEvent*>(event))) {
        if (event->type() == QEvent::KeyPress)
            m_typingHelp->HandleKey(static_cast<QKeyEvent*>(event));
        event->accept();
        return true;
    }
    // Tab belongs to the dialog's focus chain, as for any line edit; the
    // rest of a shortcut's keys the box takes for itself when it has a
    // meaning here (Ctrl+A is "select all", not the window's).
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool editing = key->matches(QKeySequence::Copy) ||
                             key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut) ||
                             key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
                             key->matches(QKeySequence::SelectAll) ||
                             key->matches(QKeySequence::MoveToStartOfLine) ||
                             key->matches(QKeySequence::MoveToEndOfLine) ||
                             key->matches(QKeySequence::MoveToPreviousWord) ||
                             key->matches(QKeySequence::MoveToNextWord) ||
                             key->matches(QKeySequence::DeleteStartOfWord) ||
                             key->matches(QKeySequence::DeleteEndOfWord) || OpensEditMenu(key);
        if (editing) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void ExpressionEdit::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) &&
        modifiers == Qt::NoModifier) {
        WalkHistory(event->key() == Qt::Key_Up ? -1 : +1);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();  // the window computes
        return;
    }
    if (OpensEditMenu(event)) {
        const QPoint at = inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, at, mapToGlobal(at),
                                    event->modifiers());
        QCoreApplication::sendEvent(this, &menuEvent);
        return;
    }
    if (HandleEditingKey(event)) {
        // As in a line edit, a selection made with the keys is offered to a
        // middle click as well as one made with the mouse.
        CopyToSelection();
        return;
    }
    if (WritesText(event)) {
        const QString typed = ToAsciiForms(event->text());
        Change(true, [&] { m_line.Insert(typed, EditableLine::Run::Typing); });
        return;
    }
    event->ignore();
}

namespace {

// A place on the line an editing key moves the caret to, or removes up to.
enum class Place {
    Caret,
    LineStart,
    LineEnd,
    PreviousCharacter,
    NextCharacter,
    // A selection collapses to its edge; without one the caret steps.
    SelectionStartOrPreviousCharacter,
    SelectionEndOrNextCharacter,
    PreviousWord,
    NextWord,
    // Backspace takes back one code point, so that a letter's accent can
    // be taken back alone.
    PreviousCodePoint,
};

qsizetype Locate(const EditableLine& line, Place place) {
    const qsizetype cursor = line.Cursor();
    switch (place) {
        case Place::Caret:
            return cursor;
        case Place::LineStart:
            return 0;
        case Place::LineEnd:
            return line.Text().size();
        case Place::PreviousCharacter:
            return line.PreviousCharacter(cursor);
        case Place::NextCharacter:
            return line.NextCharacter(cursor);
        case Place::SelectionStartOrPreviousCharacter:
            return line.HasSelection() ? line.SelectionStart() : line.PreviousCharacter(cursor);
        case Place::SelectionEndOrNextCharacter:
            return line.HasSelection() ? line.SelectionEnd() : line.NextCharacter(cursor);
        case Place::PreviousWord:
            return line.PreviousWord(cursor);
        case Place::NextWord:
            return line.NextWord(cursor);
        case Place::PreviousCodePoint: {
            qsizetype to = std::max<qsizetype>(0, cursor - 1);
            if (to > 0 && line.Text().at(to).isLowSurrogate() &&
                line.Text().at(to - 1).isHighSurrogate())
                --to;
            return to;
        }
    }
    return cursor;
}

// One editing key and what it does.
struct EditingKey {
    enum class Act {
        Command,  // one of the box's functions
        Move,     // the caret to a place, the selection dropped
        Select,   // the caret to a place, the anchor kept
        Remove,   // the selection, else from the caret to a place
        Cut,      // cuts from a place to the line's end
    };
    QKeySequence::StandardKey key;
    Act act;
    Place place = Place::Caret;
    EditableLine::Run run = EditableLine::Run::None;
    void (ExpressionEdit::*command)() = nullptr;
};

}  // namespace

void ExpressionEdit::CopyOrHandOver() {
    if (m_line.HasSelection())
        copy();
    else
        emit CopyWithNothingSelected();
}

// The keys of a line edit, by the desktop's own key bindings. The first
// row a key matches wins.
bool ExpressionEdit::HandleEditingKey(QKeyEvent* event) {
    using Key = QKeySequence::StandardKey;
    using Act = EditingKey::Act;
    using Run = EditableLine::Run;
    static const EditingKey kKeys[] = {
        {Key::Undo, Act::Command, {}, {}, &ExpressionEdit::undo},
        {Key::Redo, Act::Command, {}, {}, &ExpressionEdit::redo},
        {Key::SelectAll, Act::Command, {}, {}, &ExpressionEdit::selectAll},
        {Key::Copy, Act::Command, {}, {}, &ExpressionEdit::CopyOrHandOver},
        {Key::Paste, Act::Command, {}, {}, &ExpressionEdit::paste},
        {Key::Cut, Act::Command, {}, {}, &ExpressionEdit::cut},
        {Key::MoveToStartOfLine, Act::Move, Place::LineStart},
        {Key::MoveToStartOfBlock, Act::Move, Place::LineStart},
        {Key::MoveToStartOfDocument, Act::Move, Place::LineStart},
        {Key::MoveToEndOfLine, Act::Move, Place::LineEnd},
        {Key::MoveToEndOfBlock, Act::Move, Place::LineEnd},
        {Key::MoveToEndOfDocument, Act::Move, Place::LineEnd},
        {Key::SelectStartOfLine, Act::Select, Place::LineStart},
        {Key::SelectStartOfBlock, Act::Select, Place::LineStart},
        {Key::SelectStartOfDocument, Act::Select, Place::LineStart},
        {Key::SelectEndOfLine, Act::Select, Place::LineEnd},
        {Key::SelectEndOfBlock, Act::Select, Place::LineEnd},
        {Key::SelectEndOfDocument, Act::Select, Place::LineEnd},
        {Key::MoveToNextChar, Act::Move, Place::SelectionEndOrNextCharacter},
        {Key::MoveToPreviousChar, Act::Move, Place::SelectionStartOrPreviousCharacter},
        {Key::SelectNextChar, Act::Select, Place::NextCharacter},
        {Key::SelectPreviousChar, Act::Select, Place::PreviousCharacter},
        {Key::MoveToNextWord, Act::Move, Place::NextWord},
        {Key::MoveToPreviousWord, Act::Move, Place::PreviousWord},
        {Key::SelectNextWord, Act::Select, Place::NextWord},
        {Key::SelectPreviousWord, Act::Select, Place::PreviousWord},
        {Key::Delete, Act::Remove, Place::NextCharacter, Run::Delete},
        {Key::DeleteEndOfWord, Act::Remove, Place::NextWord},
        {Key::DeleteStartOfWord, Act::Remove, Place::PreviousWord},
        {Key::DeleteEndOfLine, Act::Cut, Place::Caret},
        {Key::DeleteCompleteLine, Act::Cut, Place::LineStart},
    };
    // Backspace is a key, not a binding: with Shift too it takes back a
    // character, with Ctrl a word.
    static const EditingKey kBackspace{Key::Backspace, Act::Remove, Place::PreviousCodePoint,
                                       Run::Backspace};
    static const EditingKey kWordBackspace{Key::Backspace, Act::Remove, Place::PreviousWord};

    const EditingKey* row = nullptr;
    for (const EditingKey& candidate : kKeys) {
        if (event->matches(candidate.key)) {
            row = &candidate;
            break;
        }
    }
    if (row == nullptr && event->key() == Qt::Key_Backspace)
        row = (event->modifiers() & Qt::ControlModifier) ? &kWordBackspace : &kBackspace;
    if (row == nullptr)
        return false;

    const qsizetype cursor = m_line.Cursor();
    const qsizetype place = Locate(m_line, row->place);
    switch (row->act) {
        case Act::Command:
            (this->*row->command)();
            break;
        case Act::Move:
        case Act::Select:
            Change(false, [&] { m_line.MoveCursor(place, row->act == Act::Select); });
            break;
        case Act::Remove:
            Change(true, [&] {
                if (m_line.HasSelection())
                    m_line.Replace(m_line.SelectionStart(), m_line.SelectionEnd(), {}, row->run);
                else
                    m_line.Replace(std::min(cursor, place), std::max(cursor, place), {}, row->run);
            });
            break;
        case Act::Cut:
            m_line.Select(place, m_line.Text().size());
            cut();
            break;
    }
    return true;
}

void ExpressionEdit::WalkHistory(int step) {
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

void ExpressionEdit::InitStyleOption(QStyleOptionFrame* option) const {
    option->initFrom(this);
    option->rect = contentsRect();
    option->lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, option, this);
    option->midLineWidth = 0;
    option->state |= QStyle::State_Sunken;
    option->features = QStyleOptionFrame::None;
}

QRect ExpressionEdit::TextArea() const {
    QStyleOptionFrame panel;
    InitStyleOption(&panel);
    return style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
}

QSize ExpressionEdit::sizeHint() const {
    ensurePolished();
    const QFontMetrics metrics = fontMetrics();
    const int height = std::max(metrics.height(), 14) + 2 * LineView::kVerticalMargin;
    const int width = metrics.horizontalAdvance(u'x') * 17 + 2 * LineView::kTextMargin;
    QStyleOptionFrame option;
    InitStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), this);
}

QSize ExpressionEdit::minimumSizeHint() const {
    ensurePolished();
    const QFontMetrics metrics = fontMetrics();
    const int height = metrics.height() + 2 * LineView::kVerticalMargin;
    const int width = metrics.maxWidth() + 2 * LineView::kTextMargin;
    QStyleOptionFrame option;
    InitStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), this);
}

void ExpressionEdit::Arrange() {
    if (!m_view.IsArranged())
        m_view.Arrange(m_line.Text(), m_line.Cursor(), m_composing, font(), TextArea(),
                       m_alignment);
}

void ExpressionEdit::paintEvent(QPaintEvent*) {
    Arrange();
    QPainter painter(this);
    QStyleOptionFrame panel;
    InitStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    painter.setClipRect(TextArea());
    const bool caretShown =
        ((hasFocus() && m_caretOn) || m_dropHovering) && !m_composing.hidesCaret &&
        (!m_line.HasSelection() ||
         style()->styleHint(QStyle::SH_BlinkCursorWhenTextSelected, &panel, this));
    const int caretWidth =
        caretShown ? style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel, this) : 0;
    // The bracket beside the caret is shown with its partner; one without
    // a partner is underlined as an error is.
    const qsizetype bracket = hasFocus() ? m_typingHelp->Bracket() : -1;
    const qsizetype partner = m_typingHelp->Partner();
    m_view.Draw(
        painter, palette(), m_line.SelectionStart(), m_line.SelectionEnd(), caretWidth, m_markFrom,
        m_markTo,
        bracket >= 0 && partner >= 0 ? QList<qsizetype>{bracket, partner} : QList<qsizetype>{});
    if (bracket >= 0 && partner < 0)
        m_view.DrawMark(painter, bracket, bracket + 1);
}

QRect ExpressionEdit::CharacterRect(int position) {
    Arrange();
    return m_view.SpanRect(position, m_line.NextCharacter(position));
}

int ExpressionEdit::PositionAt(QPoint point) {
    Arrange();
    return static_cast<int>(m_view.PositionAt(point.x()));
}

void ExpressionEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton)
        return;
    const QPoint at = event->position().toPoint();
    if (!m_composing.text.isEmpty()) {
        Arrange();
        // A click on the text being composed is the input method's (it may
        // pick a syllable); a click elsewhere ends the composing there.
        if (const int inComposed = m_view.ComposedPositionAt(at.x()); inComposed >= 0) {
            if (event->button() == Qt::LeftButton)
                QGuiApplication::inputMethod()->invokeAction(QInputMethod::Click, inComposed);
            return;
        }
        CommitComposition();
    }
    if (m_tripleClickTimer.isActive() &&
        (at - m_tripleClickAt).manhattanLength() < QApplication::startDragDistance()) {
        selectAll();
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const qsizetype to = PositionAt(at);
    Change(false, [&] { m_line.MoveCursor(to, extend); });
    m_selecting = event->button() == Qt::LeftButton;
    m_doubleClickedWord.reset();
}

void ExpressionEdit::mouseMoveEvent(QMouseEvent* event) {
    if (!m_selecting || !(event->buttons() & Qt::LeftButton))
        return;
    const qsizetype to = PositionAt(event->position().toPoint());
    if (!m_doubleClickedWord) {
        Change(false, [&] { m_line.MoveCursor(to, true); });
        return;
    }
    // After a double click the selection grows by whole words, the first
    // word staying selected.
    const auto [first, second] = *m_doubleClickedWord;
    const auto [wordFirst, wordSecond] = m_line.WordAt(to);
    Change(false,
           [&, first = first, second = second, wordFirst = wordFirst, wordSecond = wordSecond] {
               if (to < first)
                   m_line.Select(second, wordFirst);
               else if (to > second)
                   m_line.Select(first, wordSecond);
               else
                   m_line.Select(first, second);
           });
}

void ExpressionEdit::mouseReleaseEvent(QMouseEvent* event) {
    m_selecting = false;
    m_doubleClickedWord.reset();
    if (!QGuiApplication::clipboard()->supportsSelection())
        return;
    if (event->button() == Qt::LeftButton) {
        CopyToSelection();
    } else if (event->button() == Qt::MiddleButton) {
        const QString pasted = QGuiApplication::clipboard()->text(QClipboard::Selection);
        deselect();
        if (!pasted.isEmpty())
            insert(pasted);
    }
}

void ExpressionEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    CommitComposition();
    const auto [first, second] = m_line.WordAt(PositionAt(event->position().toPoint()));
    Change(false, [&, first = first, second = second] { m_line.Select(first, second); });
    m_doubleClickedWord = {first, second};
    m_tripleClickTimer.start(QApplication::doubleClickInterval(), this);
    m_tripleClickAt = event->position().toPoint();
}

QMenu* ExpressionEdit::createStandardContextMenu() {
    auto* menu = new QMenu(this);
    const bool selected = m_line.HasSelection();
    const auto add = [&](const char* name, QKeySequence::StandardKey key, bool enabled,
                         auto handler) {
        QAction* action = menu->addAction(WithShortcut(name, key), this, handler);
        action->setEnabled(enabled);
    };
    add("&Undo", QKeySequence::Undo, m_line.CanUndo(), [this] { undo(); });
    add("&Redo", QKeySequence::Redo, m_line.CanRedo(), [this] { redo(); });
    menu->addSeparator();
    add("Cu&t", QKeySequence::Cut, selected, [this] { cut(); });
    add("&Copy", QKeySequence::Copy, selected, [this] { copy(); });
    add("&Paste", QKeySequence::Paste, !QGuiApplication::clipboard()->text().isEmpty(),
        [this] { paste(); });
    QAction* remove = menu->addAction(QCoreApplication::translate("QLineEdit", "Delete"), this,
                                      [this] { Change(true, [&] { m_line.RemoveSelection(); }); });
    remove->setEnabled(selected);
    menu->addSeparator();
    const bool allSelected =
        m_line.SelectionStart() == 0 && m_line.SelectionEnd() == m_line.Text().size();
    add("Select All", QKeySequence::SelectAll, !m_line.Text().isEmpty() && !allSelected,
        [this] { selectAll(); });
    return menu;
}

void ExpressionEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void ExpressionEdit::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

// While a text hovers, the caret shows where it would drop, focused or not.
void ExpressionEdit::dragMoveEvent(QDragMoveEvent* event) {
    if (!event->mimeData()->hasText())
        return;
    event->acceptProposedAction();
    const qsizetype to = PositionAt(event->position().toPoint());
    m_dropHovering = true;
    Change(false, [&] { m_line.MoveCursor(to, false); });
}

void ExpressionEdit::dragLeaveEvent(QDragLeaveEvent*) {
    m_dropHovering = false;
    update();
}

void ExpressionEdit::dropEvent(QDropEvent* event) {
    m_dropHovering = false;
    update();
    const QString dropped = ToAsciiForms(event->mimeData()->text());
    if (dropped.isEmpty()) {
        event->ignore();
        return;
    }
    const qsizetype to = PositionAt(event->position().toPoint());
    event->acceptProposedAction();
    Change(true, [&] {
        m_line.MoveCursor(to, false);
        m_line.Insert(dropped);
    });
}

void ExpressionEdit::RestartBlink() {
    m_caretOn = true;
    const int flashTime = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flashTime > 1)
        m_blinkTimer.start(flashTime / 2, this);
    else
        m_blinkTimer.stop();
    update();
}

void ExpressionEdit::focusInEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
         reason == Qt::ShortcutFocusReason) &&
        !m_line.HasSelection())
        selectAll();
    QWidget::focusInEvent(event);
    RestartBlink();
}

void ExpressionEdit::focusOutEvent(QFocusEvent* event) {
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        deselect();
    QWidget::focusOutEvent(event);
    m_blinkTimer.stop();
    update();
}

void ExpressionEdit::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_blinkTimer.timerId()) {
        m_caretOn = !m_caretOn;
        update(TextArea());
    } else if (event->timerId() == m_tripleClickTimer.timerId()) {
        m_tripleClickTimer.stop();
    } else {
        QWidget::timerEvent(event);
    }
}

void ExpressionEdit::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        m_view.Invalidate();
        update();
    }
}

void ExpressionEdit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_view.Invalidate();
}

// The input method commits what it composes; one that does not answer (or
// none at all) leaves nothing composed, as in a line edit.
void ExpressionEdit::CommitComposition() {
    if (m_composing.text.isEmpty())
        return;
    QGuiApplication::inputMethod()->commit();
    if (m_composing.text.isEmpty())
        return;
    m_composing = Composition{};
    m_view.Invalidate();
    update();
    updateMicroFocus();
}

// What an input method commits is written as a typed key is: in ASCII
// forms.
void ExpressionEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString committed = ToAsciiForms(event->commitString());
    const qsizetype replaced = event->replacementLength();
    const bool writes =
        !committed.isEmpty() || event->preeditString() != m_composing.text || replaced > 0;
    Change(true, [&] {
        if (writes && m_line.HasSelection())
            m_line.RemoveSelection();
        const qsizetype from = m_line.Cursor() + event->replacementStart();
        if (replaced > 0 || !committed.isEmpty())
            m_line.Replace(from, from + replaced, committed);
        for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
            if (attribute.type == QInputMethodEvent::Selection)
                m_line.Select(attribute.start, qsizetype{attribute.start} + attribute.length);
        }
    });
    m_composing = Composition{};
    m_composing.text = event->preeditString();
    m_composing.cursor = static_cast<int>(m_composing.text.size());
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor) {
            m_composing.cursor = attribute.start;
            m_composing.hidesCaret = attribute.length == 0;
        } else if (attribute.type == QInputMethodEvent::TextFormat) {
            const QTextCharFormat format =
                qvariant_cast<QTextFormat>(attribute.value).toCharFormat();
            if (format.isValid())
                m_composing.formats.append({attribute.start, attribute.length, format});
        }
    }
    m_view.Invalidate();
    update();
    updateMicroFocus();
}

QVariant ExpressionEdit::inputMethodQuery(Qt::InputMethodQuery query) const {
    auto* self = const_cast<ExpressionEdit*>(this);  // the caret's place settles the scrolling
    const qsizetype cursor = m_line.Cursor();
    // An input method learns only of the text near the caret: all of a long
    // line would be sent to it at every key.
    const qsizetype around = std::max<qsizetype>(0, cursor - kSurroundingReach);
    switch (query) {
        case Qt::ImEnabled:
            return isEnabled();
        case Qt::ImCursorRectangle:
            self->Arrange();
            return m_view.CaretRect(cursor);
        case Qt::ImAnchorRectangle:
            self->Arrange();
            return m_view.CaretRect(m_line.Anchor());
        case Qt::ImFont:
            return font();
        case Qt::ImCursorPosition:
            return static_cast<int>(cursor - around);
        case Qt::ImAbsolutePosition:
            return static_cast<int>(cursor);
        case Qt::ImSurroundingText:
            return m_line.Text().mid(around, 2 * kSurroundingReach);
        case Qt::ImCurrentSelection:
            return m_line.SelectedText();
        case Qt::ImMaximumTextLength:
            return std::numeric_limits<int>::max();
        case Qt::ImAnchorPosition:
            return static_cast<int>(
                std::clamp(m_line.Anchor() - around, qsizetype{0}, 2 * kSurroundingReach));
        case Qt::ImReadOnly:
            return false;
        case Qt::ImTextBeforeCursor:
            return m_line.Text().mid(around, cursor - around);
        case Qt::ImTextAfterCursor:
            return m_line.Text().mid(cursor, kSurroundingReach);
        default:
            return QWidget::inputMethodQuery(query);
    }
}
