#include "HistoryExport.h"

#include <QStringBuilder>

namespace {

// A line break inside an entry would split its line or its table row.
QString OneLine(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString CsvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') % quoted % QLatin1Char('"');
}

// Every character a renderer could read as markup, the cell's bar first,
// behind a backslash.
QString MarkdownCell(const QString& text) {
    static const QString kMarkup = QStringLiteral("\\|`*_[]<>&~$#!");
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : OneLine(text)) {
        if (kMarkup.contains(c))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped;
}

}  // namespace

QString FormatHistory(const QList<HistoryRow>& rows, HistoryFormat format,
                      const QString& expressionHeader, const QString& resultHeader) {
    QString text;
    switch (format) {
        case HistoryFormat::Text:
            for (const HistoryRow& row : rows)
                text += OneLine(row.expression) % QLatin1Char('\n');
            break;
        case HistoryFormat::Csv:
            text = CsvField(expressionHeader) % QLatin1Char(',') % CsvField(resultHeader) %
                   QLatin1String("\r\n");
            for (const HistoryRow& row : rows) {
                text += CsvField(row.expression) % QLatin1Char(',') % CsvField(row.result) %
                        QLatin1String("\r\n");
            }
            break;
        case HistoryFormat::Markdown:
            text = QLatin1String("| ") % MarkdownCell(expressionHeader) % QLatin1String(" | ") %
                   MarkdownCell(resultHeader) % QLatin1String(" |\n| --- | --- |\n");
            for (const HistoryRow& row : rows) {
                text += QLatin1String("| ") % MarkdownCell(row.expression) % QLatin1String(" | ") %
                        MarkdownCell(row.result) % QLatin1String(" |\n");
            }
            break;
    }
    return text;
}
