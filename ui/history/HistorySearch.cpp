#include "HistorySearch.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>

#include "ScreenReaderNotice.h"
#include "WindowTexts.h"

void HistoryFilterModel::SetText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    invalidateRowsFilter();
}

bool HistoryFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (m_text.isEmpty())
        return true;
    const QModelIndex entry = sourceModel()->index(sourceRow, 0, sourceParent);
    return entry.data(Qt::EditRole).toString().contains(m_text, Qt::CaseInsensitive);
}

HistorySearch::HistorySearch(QListView& list, QAbstractItemModel& history, QRect place)
    : QObject(&list),
      m_list(list),
      m_filter(this),
      m_field(new QLineEdit(list.parentWidget())),
      m_notice(new ScreenReaderNotice(m_field)) {
    m_filter.setSourceModel(&history);
    m_list.setModel(&m_filter);

    m_field->setObjectName(QStringLiteral("historyFilter"));
    m_field->setAccessibleName(WindowText(WindowTexts::kHistoryFilterName));
    m_field->setPlaceholderText(WindowText(WindowTexts::kHistoryFilterHint));
    m_field->setClearButtonEnabled(true);
    m_field->setGeometry(place);
    m_field->hide();
    m_field->installEventFilter(this);
    m_list.installEventFilter(this);
    connect(m_field, &QLineEdit::textChanged, this, &HistorySearch::OnTextEdited);

    auto* open = new QAction(&m_list);
    open->setObjectName(QStringLiteral("filterHistoryAction"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    open->setShortcutContext(Qt::WidgetShortcut);
    m_list.addAction(open);
    connect(open, &QAction::triggered, this, &HistorySearch::Open);
}

void HistorySearch::Open() {
    m_field->show();
    m_field->raise();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

void HistorySearch::Close() {
    const QModelIndex chosen = HistoryIndex(m_list.currentIndex());
    m_field->clear();
    m_field->hide();
    if (chosen.isValid()) {
        const QModelIndex shown = m_filter.mapFromSource(chosen);
        m_list.setCurrentIndex(shown);
        m_list.scrollTo(shown);
    }
    m_list.setFocus(Qt::OtherFocusReason);
}

void HistorySearch::OnTextEdited(const QString& text) {
    m_filter.SetText(text);
    // The first match is current, so Enter at once takes it.
    if (!m_list.currentIndex().isValid() && m_filter.rowCount() > 0)
        m_list.setCurrentIndex(m_filter.index(0, 0));
    if (m_list.currentIndex().isValid())
        m_list.scrollTo(m_list.currentIndex());
    // A reader hears how many entries are left, not every row that went.
    if (m_field->isVisible())
        m_notice->Tell(WindowText(WindowTexts::kHistoryFilterCount).arg(m_filter.rowCount()));
}

bool HistorySearch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    // In the list, only Escape is the filter's, and only while it filters.
    const bool inList = watched == &m_list;
    if (inList && (key->key() != Qt::Key_Escape || !m_field->isVisible()))
        return false;
    switch (key->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            break;
        default:
            return false;
    }
    // The window's own keys (Escape clears the expression, Enter computes)
    // are the filter's while it has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    switch (key->key()) {
        case Qt::Key_Escape:
            Close();
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (m_list.currentIndex().isValid())
                emit Chosen();
            break;
        default: {
            // Moving through the matches keeps the focus in the field.
            QKeyEvent moved(QEvent::KeyPress, key->key(), key->modifiers());
            QCoreApplication::sendEvent(&m_list, &moved);
            break;
        }
    }
    return true;
}
