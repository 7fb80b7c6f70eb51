#include "HistoryExportActions.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QListView>
#include <QMessageBox>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

#include "HistoryModel.h"
#include "MessageBox.h"
#include "WindowStacking.h"
#include "WindowTexts.h"

namespace {

struct FormatEntry {
    HistoryFormat format;
    const char* name;
    const char* menuText;
    const char* filter;
    const char* suffix;
};

constexpr FormatEntry kFormats[] = {
    {HistoryFormat::Text, "saveHistoryTextAction", WindowTexts::kSaveHistoryTextMenu,
     WindowTexts::kTextFiles, "txt"},
    {HistoryFormat::Csv, "saveHistoryCsvAction", WindowTexts::kSaveHistoryCsvMenu,
     WindowTexts::kCsvFiles, "csv"},
    {HistoryFormat::Markdown, "saveHistoryMarkdownAction", WindowTexts::kSaveHistoryMarkdownMenu,
     WindowTexts::kMarkdownFiles, "md"},
};

QString Format(const QList<HistoryRow>& rows, HistoryFormat format) {
    return FormatHistory(rows, format, WindowText(WindowTexts::kExpressionHeader),
                         WindowText(WindowTexts::kResultHeader));
}

HistoryRow RowOf(const QModelIndex& index) {
    return {index.data(Qt::EditRole).toString(), index.data(HistoryModel::kResultRole).toString()};
}

}  // namespace

HistoryExportActions::HistoryExportActions(QListView& list, const HistoryModel& history,
                                           QWidget& window)
    : QObject(&window), m_list(list), m_history(history), m_window(window) {
    for (const FormatEntry& entry : kFormats) {
        auto* action = new QAction(WindowText(entry.menuText), &window);
        action->setObjectName(QString::fromLatin1(entry.name));
        connect(action, &QAction::triggered, this,
                [this, format = entry.format] { AskAndSave(format); });
        m_actions.append(action);
    }
    auto* copy = new QAction(WindowText(WindowTexts::kCopyHistoryMenu), &window);
    copy->setObjectName(QStringLiteral("copyHistoryAction"));
    copy->setShortcuts(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    m_list.addAction(copy);
    connect(copy, &QAction::triggered, this, &HistoryExportActions::CopySelected);
    m_actions.append(copy);
}

QList<HistoryRow> HistoryExportActions::AllRows() const {
    QList<HistoryRow> rows;
    rows.reserve(m_history.Entries().size());
    for (qsizetype i = 0; i < m_history.Entries().size(); ++i)
        rows.append({m_history.Entries()[i], m_history.Results()[i]});
    return rows;
}

QList<HistoryRow> HistoryExportActions::SelectedRows() const {
    QModelIndexList selected = m_list.selectionModel()->selectedIndexes();
    if (selected.isEmpty() && m_list.currentIndex().isValid())
        selected.append(m_list.currentIndex());
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QList<HistoryRow> rows;
    rows.reserve(selected.size());
    for (const QModelIndex& index : selected)
        rows.append(RowOf(index));
    return rows;
}

bool HistoryExportActions::Save(const QString& path, HistoryFormat format, QString* error) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(Format(AllRows(), format).toUtf8()) < 0 ||
        !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

void HistoryExportActions::AskAndSave(HistoryFormat format) {
    const auto entry = std::find_if(std::begin(kFormats), std::end(kFormats),
                                    [format](const FormatEntry& e) { return e.format == format; });
    QFileDialog dialog(&m_window, WindowText(WindowTexts::kSaveHistoryTitle),
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                       WindowText(entry->filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without its ending gets the format's.
    dialog.setDefaultSuffix(QLatin1String(entry->suffix));
    dialog.selectFile(QStringLiteral("tallyfern-history.") + QLatin1String(entry->suffix));
    KeepAboveOwner(&dialog, &m_window);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    QString error;
    if (!Save(path, format, &error)) {
        ShowMessageBox(&m_window, WindowText(WindowTexts::kHistoryNotSaved).arg(path, error),
                       WindowText(WindowTexts::kSaveHistoryTitle), QMessageBox::Warning);
    }
}

void HistoryExportActions::CopySelected() {
    const QList<HistoryRow> rows = SelectedRows();
    if (!rows.isEmpty())
        QGuiApplication::clipboard()->setText(Format(rows, HistoryFormat::Text));
}
