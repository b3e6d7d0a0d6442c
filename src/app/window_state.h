#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <string>

namespace zelkor {

// What the desktop program remembers for its user beside the settings file
// (whose lines stay as they are): the window's geometry and dock state, the
// recently used files and the folder last used for each kind of file.
class WindowState {
  public:
    // The file "Zelkor2kWindow.ini" in `programFolder`.
    explicit WindowState(const std::string& programFolder);

    QByteArray geometry() const;
    QByteArray dockState() const;
    void setWindow(const QByteArray& geometry, const QByteArray& dockState);

    // Most recent first, at most kMaxRecentFiles.
    static constexpr int kMaxRecentFiles = 8;
    QStringList recentFiles() const;
    void addRecentFile(const QString& path);
    void removeRecentFile(const QString& path);

    // The folder of the last file chosen for `kind` (a file suffix), or an
    // empty text.
    QString lastFolder(const QString& kind) const;
    void setLastFolder(const QString& kind, const QString& folder);

  private:
    mutable QSettings file_;
};

} // namespace zelkor
