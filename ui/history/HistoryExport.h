#pragma once

#include <QList>
#include <QString>

// The history as the files it is taken away in. Every text is UTF-8 when
// written; none depends on the window.

struct HistoryRow {
    QString expression;
    QString result;  // empty when the entry kept none
};

enum class HistoryFormat {
    Text,      // one expression a line
    Csv,       // expression, result; a header line, fields quoted where needed, CRLF
    Markdown,  // a table of two columns
};

// `headers` name the two columns of the CSV and the Markdown table.
QString FormatHistory(const QList<HistoryRow>& rows, HistoryFormat format,
                      const QString& expressionHeader, const QString& resultHeader);
