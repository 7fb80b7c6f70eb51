#include "SessionSettings.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cmath>

namespace {

const QString kKeepKey = QStringLiteral("session/keep");
const QString kPositionKey = QStringLiteral("window/position");
const QString kGeometryKey = QStringLiteral("window/geometry");
const QString kExpandedKey = QStringLiteral("window/expanded");
const QString kTopMostKey = QStringLiteral("window/topMost");
const QString kWindowGroup = QStringLiteral("window");
const QString kSwitchGroup = QStringLiteral("switches/");
const QString kNumberGroup = QStringLiteral("numbers/");

bool IsOwnDirectory(const QFileInfo& info) {
    return !info.isSymLink() && info.isDir() && info.ownerId() == ::getuid();
}

// Missing, or this user's own plain file. Qt's settings open the file, and
// the lock beside it when they write, with no regard to what they are: a
// pipe there would block the window for good.
bool IsUsableFile(const QString& path) {
    const QFileInfo file(path);
    const QFileInfo lock(path + QStringLiteral(".lock"));
    const bool fileUsable =
        !file.exists() ? !file.isSymLink()
                       : !file.isSymLink() && file.isFile() && file.ownerId() == ::getuid();
    const bool lockUsable = !lock.exists() ? !lock.isSymLink() : !lock.isSymLink() && lock.isFile();
    return fileUsable && lockUsable;
}

// The file exists as this user's own plain file, made 0600 when new (the
// settings keep the permissions of the file they replace).
bool PrepareFile(const QString& path) {
    const QFileInfo directory(QFileInfo(path).absolutePath());
    if (!directory.exists() && !directory.isSymLink()) {
        if (!QDir().mkpath(directory.absolutePath()) ||
            !QDir().mkdir(directory.absoluteFilePath(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
            // mkpath made the parents; the last one is ours alone.
            if (!QDir(directory.absoluteFilePath()).exists())
                return false;
        }
    }
    if (!IsOwnDirectory(QFileInfo(directory.absoluteFilePath())) || !IsUsableFile(path))
        return false;
    if (QFileInfo::exists(path))
        return true;
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

}  // namespace

SessionSettings::SessionSettings()
    : m_path(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
             QStringLiteral("/tallyfern.conf")) {
    if (IsUsableFile(m_path))
        m_settings = std::make_unique<QSettings>(m_path, QSettings::IniFormat);
}

SessionSettings::~SessionSettings() = default;

bool SessionSettings::Usable() {
    // A refused file is never written: each write says so.
    m_written = m_settings != nullptr;
    return m_written;
}

void SessionSettings::Sync() {
    // Only when something is to be written does the file come to be.
    m_written = PrepareFile(m_path);
    if (!m_written)
        return;
    m_settings->sync();
    m_written = m_settings->status() == QSettings::NoError;
}

bool SessionSettings::KeepsSession() const {
    if (!m_settings)
        return true;
    // Another window may have turned keeping off since this one read the
    // file; it then deleted what was kept, which this one must not write
    // again. Not while a change of this window's waits to be written: the
    // read would write it, past the checks above.
    if (m_written && IsUsableFile(m_path))
        m_settings->sync();
    return m_settings->value(kKeepKey, true).toBool();
}

void SessionSettings::SetKeepsSession(bool on) {
    if (!Usable())
        return;
    m_settings->setValue(kKeepKey, on);
    Sync();
}

SessionSettings::WindowState SessionSettings::ReadWindowState() const {
    WindowState state;
    if (!m_settings)
        return state;
    if (const QVariant position = m_settings->value(kPositionKey); position.canConvert<QPoint>())
        state.position = position.toPoint();
    state.geometry = m_settings->value(kGeometryKey).toByteArray();
    state.expanded = m_settings->value(kExpandedKey, false).toBool();
    state.topMost = m_settings->value(kTopMostKey, false).toBool();
    return state;
}

void SessionSettings::WriteWindowState(const WindowState& state) {
    if (!Usable())
        return;
    if (state.position)
        m_settings->setValue(kPositionKey, *state.position);
    if (!state.geometry.isEmpty())
        m_settings->setValue(kGeometryKey, state.geometry);
    m_settings->setValue(kExpandedKey, state.expanded);
    m_settings->setValue(kTopMostKey, state.topMost);
    Sync();
}

void SessionSettings::ForgetWindowState() {
    if (!Usable())
        return;
    m_settings->remove(kWindowGroup);
    Sync();
}

bool SessionSettings::Switch(const QString& name, bool byDefault) const {
    return m_settings ? m_settings->value(kSwitchGroup + name, byDefault).toBool() : byDefault;
}

void SessionSettings::SetSwitch(const QString& name, bool on) {
    if (!Usable())
        return;
    m_settings->setValue(kSwitchGroup + name, on);
    Sync();
}

std::optional<double> SessionSettings::Number(const QString& name) const {
    if (!m_settings)
        return std::nullopt;
    bool read = false;
    const double value = m_settings->value(kNumberGroup + name).toDouble(&read);
    return read && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

void SessionSettings::SetNumber(const QString& name, double value) {
    if (!m_settings)
        return;
    m_settings->setValue(kNumberGroup + name, value);
    Sync();
}
