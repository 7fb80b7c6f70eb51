#pragma once

#include <QByteArray>
#include <QPoint>
#include <QSettings>
#include <QString>
#include <memory>
#include <optional>

// The window's settings, in $XDG_CONFIG_HOME/tallyfern/tallyfern.conf
// (0600, its directory 0700): whether it keeps its session, the state it
// was left in, and its on/off switches. A symbolic link, another user's
// file or anything but a plain file in that place (or in its lock's) is
// neither read nor written: every setting then reads as its default, and
// every write fails.
class SessionSettings {
  public:
    // The settings in the configuration directory QStandardPaths names now.
    SessionSettings();
    ~SessionSettings();

    // Whether history, variables and the window's state are kept; on
    // unless turned off, here or by another window since.
    bool KeepsSession() const;
    void SetKeepsSession(bool on);

    struct WindowState {
        std::optional<QPoint> position;
        QByteArray geometry;  // as QWidget::saveGeometry gives it
        bool expanded = false;
        bool topMost = false;
    };
    WindowState ReadWindowState() const;
    void WriteWindowState(const WindowState& state);
    void ForgetWindowState();

    // A named on/off switch of the window ("computeWhileTyping"), `byDefault`
    // until set.
    bool Switch(const QString& name, bool byDefault) const;
    void SetSwitch(const QString& name, bool on);
    // A named number of the window's other windows ("graphXLow"), none
    // until set.
    std::optional<double> Number(const QString& name) const;
    void SetNumber(const QString& name, double value);

    // The settings file, and whether the last write reached it.
    QString FilePath() const { return m_path; }
    bool Written() const { return m_written; }

  private:
    // Whether the file may be written; a write that may not has failed.
    bool Usable();
    void Sync();

    QString m_path;
    std::unique_ptr<QSettings> m_settings;  // none where the file is refused
    bool m_written = true;
};
