#include "TypingHelper.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTextDocumentFragment>
#include <QToolTip>
#include <algorithm>

#include "CompletionList.h"

namespace {

bool IsName(const QString& name) {
    return NameStartBefore(name, name.size()) == 0;
}

}  // namespace

TypingHelper::TypingHelper(QWidget* box)
    : QObject(box), m_box(box), m_list(new CompletionList(box)), m_hint(new QLabel(box)) {
    m_hint->setWindowFlags(Qt::ToolTip);
    m_hint->setAttribute(Qt::WA_ShowWithoutActivating);
    m_hint->setForegroundRole(QPalette::ToolTipText);
    m_hint->setBackgroundRole(QPalette::ToolTipBase);
    m_hint->setPalette(QToolTip::palette());
    m_hint->setFont(QToolTip::font());
    m_hint->setTextFormat(Qt::RichText);
    m_hint->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_hint->setMargin(1 + m_hint->style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth));
    m_hint->setAccessibleName(tr("函数用法"));
    m_box->installEventFilter(this);
    connect(m_list, &QTreeWidget::itemClicked, this, &TypingHelper::TakeCurrent);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &TypingHelper::TellCurrent);
}

void TypingHelper::Follow(QStringView text, qsizetype caret, bool hasSelection, bool typed) {
    // Only what the helps need is kept: a copy of the text would be copied
    // again, whole, at the box's next edit.
    m_caret = caret;
    m_bracket = BracketBesideCaret(text, caret);
    m_partner = BracketPartner(text, m_bracket);
    if (m_partner == kPartnerOutOfReach)
        m_bracket = m_partner = -1;  // neither paired nor known to be alone
    m_bracketAfterCaret = caret < text.size() && text[caret] == u'(';
    m_nameStart = NameStartBefore(text, caret);
    m_typedName =
        m_nameStart < 0 ? QString() : text.sliced(m_nameStart, caret - m_nameStart).toString();
    m_call = CallAround(text, caret);
    m_callName =
        m_call ? text.sliced(m_call->nameStart, m_call->nameEnd - m_call->nameStart).toString()
               : QString();
    const bool shown = m_box->isVisible() && m_box->hasFocus();
    if (typed && shown && !hasSelection)
        RefreshList();
    else
        CloseList();
    RefreshHint();
}

bool TypingHelper::IsListOpen() const {
    return m_list->isVisible();
}

bool TypingHelper::Claims(const QKeyEvent* key) {
    if (!IsListOpen() || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!TakingChangesNothing())
                return true;
            CloseList();
            RefreshHint();
            return false;
        case Qt::Key_Tab:
        case Qt::Key_Escape:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return true;
        default:
            return false;
    }
}

bool TypingHelper::HandleKey(const QKeyEvent* key) {
    if (!Claims(key))
        return false;
    switch (key->key()) {
        case Qt::Key_Escape:
            CloseList();
            RefreshHint();
            break;
        case Qt::Key_Up:
            m_list->Step(-1);
            break;
        case Qt::Key_Down:
            m_list->Step(+1);
            break;
        case Qt::Key_PageUp:
            m_list->Step(-CompletionList::kRowsShown);
            break;
        case Qt::Key_PageDown:
            m_list->Step(+CompletionList::kRowsShown);
            break;
        default:
            TakeCurrent();
            break;
    }
    return true;
}

void TypingHelper::HideAll() {
    CloseList();
    m_hint->hide();
    m_toldCall.clear();
}

QList<NameEntry> TypingHelper::Candidates() const {
    QList<NameEntry> entries;
    for (const FunctionHelp& function : m_functions)
        entries.append({function.name, function.summary, true});
    if (!m_variables)
        return entries;
    QList<QString> seen;
    for (const auto& [name, value] : m_variables()) {
        // The upper row of a name is the one the engine reads.
        if (!IsName(name) || seen.contains(name))
            continue;
        seen.append(name);
        entries.append({name, tr("变量 = %1").arg(value), false});
    }
    return entries;
}

void TypingHelper::RefreshList() {
    if (m_nameStart < 0) {
        CloseList();
        return;
    }
    if (m_functions.isEmpty())
        m_functions = FunctionHelps();
    const QList<NameEntry> candidates = Candidates();
    const QString& prefix = m_typedName;
    const QList<qsizetype> found = MatchingNames(candidates, prefix, kMostListed);
    // A variable typed out in full leaves nothing to complete, and Enter
    // then computes.
    if (found.isEmpty() || (found.size() == 1 && !candidates[found[0]].isFunction &&
                            candidates[found[0]].name == prefix)) {
        CloseList();
        return;
    }
    m_listed.clear();
    for (qsizetype i : found)
        m_listed.append(candidates[i]);
    {
        const QSignalBlocker quiet(m_list);
        m_list->SetEntries(m_listed);
    }
    PlaceUnderCaret(m_list);
    TellCurrent();
}

void TypingHelper::CloseList() {
    m_list->hide();
    m_toldEntry.clear();
}

void TypingHelper::TakeCurrent() {
    const int row = m_list->CurrentRow();
    if (!IsListOpen() || row < 0 || row >= m_listed.size() || m_nameStart < 0)
        return;
    const NameEntry entry = m_listed[row];
    const qsizetype from = m_nameStart;
    qsizetype to = m_caret;
    QString text = entry.name;
    if (entry.isFunction) {
        // A bracket already there is gone over, not doubled.
        if (m_bracketAfterCaret)
            ++to;
        text += u'(';
    }
    CloseList();
    emit Take(from, to, text);
}

bool TypingHelper::TakingChangesNothing() const {
    const int row = m_list->CurrentRow();
    return row >= 0 && row < m_listed.size() && !m_listed[row].isFunction &&
           m_typedName == m_listed[row].name;
}

void TypingHelper::TellCurrent() {
    const int row = m_list->CurrentRow();
    if (!IsListOpen() || row < 0 || row >= m_listed.size())
        return;
    const NameEntry& entry = m_listed[row];
    const QString told = tr("%1，%2（第 %3 项，共 %4 项）")
                             .arg(entry.name, entry.summary)
                             .arg(row + 1)
                             .arg(m_listed.size());
    if (told == m_toldEntry)
        return;
    m_toldEntry = told;
    emit Tell(told);
}

void TypingHelper::RefreshHint() {
    const bool shown = m_box->isVisible() && m_box->hasFocus() && !IsListOpen();
    const FunctionHelp* function = nullptr;
    if (shown && m_call) {
        if (m_functions.isEmpty())
            m_functions = FunctionHelps();
        const auto found =
            std::find_if(m_functions.cbegin(), m_functions.cend(),
                         [&](const FunctionHelp& f) { return f.name == m_callName; });
        if (found != m_functions.cend())
            function = &*found;
    }
    if (!function) {
        m_hint->hide();
        m_toldCall.clear();
        return;
    }
    const QString hint = UsageHint(function->usage, function->name, m_call->argument);
    if (hint != m_hint->text()) {
        m_hint->setText(hint);
        m_hint->adjustSize();
    }
    PlaceUnderCaret(m_hint);
    if (hint == m_toldCall)
        return;
    m_toldCall = hint;
    emit Tell(tr("%1，第 %2 个参数")
                  .arg(QTextDocumentFragment::fromHtml(hint).toPlainText())
                  .arg(m_call->argument + 1));
}

void TypingHelper::PlaceUnderCaret(QWidget* popup) const {
    const QRect caret = m_box->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QPoint below = m_box->mapToGlobal(QPoint(caret.left(), m_box->height()));
    QRect placed(below, popup->size());
    if (const QScreen* screen = m_box->screen()) {
        const QRect room = screen->availableGeometry();
        if (placed.bottom() > room.bottom())
            placed.moveBottom(m_box->mapToGlobal(QPoint(0, 0)).y() - 1);
        placed.moveLeft(std::clamp(placed.left(), room.left(),
                                   std::max(room.left(), room.right() + 1 - placed.width())));
    }
    popup->move(placed.topLeft());
    popup->show();
}

bool TypingHelper::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::FocusOut:
        case QEvent::Hide:
            if (watched == m_box)
                HideAll();
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowDeactivate:
            // Where the window goes, the popups would stay behind.
            if (watched == m_box->window())
                HideAll();
            break;
        case QEvent::LanguageChange:
            if (watched == m_box)
                m_functions.clear();  // their texts are the old language's
            break;
        case QEvent::Show:
            if (watched == m_box)
                m_box->window()->installEventFilter(this);
            break;
        default:
            break;
    }
    return false;
}
