#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <array>
#include <optional>

// A fresh home of XDG directories for the life of the object: the window's
// settings and its kept session go there, and nowhere another test or the
// developer keeps theirs. The previous values come back at the end.
class TemporaryXdgHome {
  public:
    TemporaryXdgHome() {
        for (std::size_t i = 0; i < kVariables.size(); ++i) {
            if (qEnvironmentVariableIsSet(kVariables[i]))
                m_previous[i] = qgetenv(kVariables[i]);
            qputenv(kVariables[i], QFile::encodeName(Path(kVariables[i])));
        }
    }
    ~TemporaryXdgHome() {
        for (std::size_t i = 0; i < kVariables.size(); ++i) {
            if (m_previous[i])
                qputenv(kVariables[i], *m_previous[i]);
            else
                qunsetenv(kVariables[i]);
        }
    }
    TemporaryXdgHome(const TemporaryXdgHome&) = delete;
    TemporaryXdgHome& operator=(const TemporaryXdgHome&) = delete;

    QString Root() const { return m_root.path(); }
    QString ConfigFile() const { return Root() + "/config/tallyfern/tallyfern.conf"; }
    QString DataDirectory() const { return Root() + "/data/tallyfern"; }
    QString SessionFile() const { return DataDirectory() + "/session.jsonl"; }
    // Every file and directory under the home, as paths below it.
    QStringList Contents() const {
        QStringList found;
        QDirIterator it(Root(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found << QDir(Root()).relativeFilePath(it.next());
        found.sort();
        return found;
    }

  private:
    static constexpr std::array<const char*, 4> kVariables = {"XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                                              "XDG_STATE_HOME", "XDG_CACHE_HOME"};
    QString Path(const char* variable) const {
        const QString name = QString::fromLatin1(variable).section('_', 1, 1).toLower();
        return m_root.path() + '/' + name;
    }

    QTemporaryDir m_root;
    std::array<std::optional<QByteArray>, 4> m_previous;
};
