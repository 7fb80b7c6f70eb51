#include "SessionFile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <initializer_list>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "VarValidation.h"

namespace {

const QString kFormatName = QStringLiteral("tallyfern-session");

// A line holding one record; none when it is no JSON object.
std::optional<QJsonObject> ReadRecord(QByteArrayView line) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

// The header's version as a number, whatever JSON type another version
// wrote it as; none when it is no number. Compared as a double, so that
// neither a string nor a value beyond int reads as version 0.
std::optional<double> ReadVersion(const QJsonValue& value) {
    if (value.isDouble())
        return value.toDouble();
    bool number = false;
    const double version = value.toString().toDouble(&number);
    if (!value.isString() || !number)
        return std::nullopt;
    return version;
}

QByteArray WriteRecord(const QJsonObject& record) {
    return QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n';
}

// Whether a JSON document writes `text` as its UTF-8 bytes, escaping
// nothing: no control character, quote, backslash or surrogate (the
// document escapes a lone one, which UTF-8 cannot hold; a pair goes its
// way too).
bool IsPlainJsonText(const QString& text) {
    return std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x20 || c == u'"' || c == u'\\' || c.isSurrogate();
    });
}

struct StringField {
    QLatin1StringView key;
    const QString& value;
};

// Appends the record of string fields, given in the order of their keys, as
// WriteRecord writes it: a full history is written at every computation,
// and a document for each of its lines cost most of the time.
void AppendRecord(QByteArray& text, std::initializer_list<StringField> fields) {
    const qsizetype start = text.size();
    text += '{';
    for (const StringField& field : fields) {
        if (!IsPlainJsonText(field.value)) {
            text.truncate(start);
            QJsonObject record;
            for (const StringField& each : fields)
                record.insert(each.key, each.value);
            text += WriteRecord(record);
            return;
        }
        if (text.size() > start + 1)
            text += ',';
        text += '"';
        text += field.key;
        text += "\":\"";
        text += field.value.toUtf8();
        text += '"';
    }
    text += "}\n";
}

class SessionReader {
  public:
    void ReadHeader(const std::optional<QJsonObject>& record) {
        if (!record || record->value(QStringLiteral("format")).toString() != kFormatName) {
            // No header: the records may still be ours.
            m_result.problems.damaged = true;
            ReadRecordLine(record);
            return;
        }
        const std::optional<double> version = ReadVersion(record->value(QStringLiteral("version")));
        if (!version)
            m_result.problems.damaged = true;
        else if (*version > kSessionFileVersion)
            m_result.problems.newerVersion = true;
    }

    void ReadRecordLine(const std::optional<QJsonObject>& record) {
        if (!record) {
            m_result.problems.damaged = true;
        } else if (record->contains(QStringLiteral("history"))) {
            AddHistory(record->value(QStringLiteral("history")),
                       record->value(QStringLiteral("result")));
        } else if (record->contains(QStringLiteral("variable"))) {
            AddVariable(record->value(QStringLiteral("variable")),
                        record->value(QStringLiteral("value")));
        } else if (!m_result.problems.newerVersion) {
            // A newer version may know records this one does not.
            m_result.problems.damaged = true;
        }
    }

    SessionReadResult Take() {
        LimitHistory(m_result.session.history);
        return std::move(m_result);
    }

    SessionReadResult& Result() { return m_result; }

    // Room for a file of `lines` lines, most of them history entries: a
    // full history then fills its tables without growing them over and
    // over.
    void Reserve(qsizetype lines) {
        const qsizetype entries = std::min(lines, kMaxHistoryEntries);
        m_historyKeys.reserve(entries);
        m_result.session.history.reserve(entries);
        m_result.session.results.reserve(entries);
    }

  private:
    void AddHistory(const QJsonValue& value, const QJsonValue& resultValue) {
        const QString entry = value.toString();
        QString key = SessionKey(entry);
        // A character the decoder had to replace is no character the user typed.
        if (!value.isString() || entry.isEmpty() || entry.contains(QChar::ReplacementCharacter) ||
            m_historyKeys.contains(key)) {
            ++m_result.problems.skippedHistory;
            return;
        }
        m_historyKeys.insert(key);
        m_result.session.history.append(entry);
        // A result that did not keep is only not shown: the entry is sound.
        const QString result = resultValue.toString();
        if (resultValue.isString() && !result.isEmpty() &&
            !result.contains(QChar::ReplacementCharacter))
            m_result.session.results.insert(std::move(key), result);
    }

    void AddVariable(const QJsonValue& name, const QJsonValue& value) {
        const std::string nameBytes = name.toString().toStdString();
        const bool taken = m_variableKeys.contains(FoldNameCase(nameBytes));
        if (!name.isString() || !value.isString() || CheckVariableName(nameBytes, taken) ||
            CheckVariableValue(value.toString().toStdString())) {
            ++m_result.problems.skippedVariables;
            return;
        }
        m_variableKeys.insert(FoldNameCase(nameBytes));
        m_result.session.variables.append({name.toString(), value.toString()});
    }

    SessionReadResult m_result;
    QSet<QString> m_historyKeys;
    std::set<std::string> m_variableKeys;
};

}  // namespace

SessionReadResult ParseSessionFile(const QByteArray& bytes) {
    SessionReader reader;
    if (bytes.size() > kMaxSessionFileBytes) {
        reader.Result().problems.tooLarge = true;
        return reader.Take();
    }
    // Bytes that are not UTF-8 spoil only the records that hold them.
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    const QByteArray utf8 = decoder.hasError() ? text.toUtf8() : bytes;
    reader.Result().problems.notUtf8 = decoder.hasError();

    reader.Reserve(utf8.count('\n'));
    bool first = true;
    for (qsizetype start = 0; start < utf8.size();) {
        qsizetype end = utf8.indexOf('\n', start);
        if (end < 0)
            end = utf8.size();
        const QByteArrayView line = QByteArrayView(utf8).sliced(start, end - start);
        start = end + 1;
        // The file ends with a line feed, and a blank line holds nothing.
        if (line.trimmed().isEmpty())
            continue;
        if (std::exchange(first, false))
            reader.ReadHeader(ReadRecord(line));
        else
            reader.ReadRecordLine(ReadRecord(line));
    }
    return reader.Take();
}

QByteArray SerializeSession(const KeptSession& session) {
    QByteArray text = WriteRecord({{QStringLiteral("format"), kFormatName},
                                   {QStringLiteral("version"), kSessionFileVersion}});
    for (const QString& entry : session.history) {
        const QString result =
            session.results.isEmpty() ? QString() : session.results.value(SessionKey(entry));
        if (result.isEmpty())
            AppendRecord(text, {{QLatin1StringView("history"), entry}});
        else
            AppendRecord(text, {{QLatin1StringView("history"), entry},
                                {QLatin1StringView("result"), result}});
    }
    for (const KeptVariable& variable : session.variables) {
        AppendRecord(text, {{QLatin1StringView("value"), variable.value},
                            {QLatin1StringView("variable"), variable.name}});
    }
    return text;
}

QStringList KeptSession::HistoryResults() const {
    QStringList inOrder;
    inOrder.reserve(history.size());
    for (const QString& entry : history)
        inOrder.append(results.isEmpty() ? QString() : results.value(SessionKey(entry)));
    return inOrder;
}

void LimitHistory(QStringList& history) {
    QStringList kept;
    qsizetype room = kMaxHistoryCharacters;
    // Counted from the newest back. An entry too large for the room left is
    // skipped, not taken as the end: one long computation must not push out
    // every entry before it.
    for (qsizetype i = history.size() - 1; i >= 0 && kept.size() < kMaxHistoryEntries; --i) {
        if (history[i].size() > room)
            continue;
        room -= history[i].size();
        kept.append(std::move(history[i]));
    }
    std::reverse(kept.begin(), kept.end());
    history = std::move(kept);
}
