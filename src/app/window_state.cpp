#include "app/window_state.h"

#include "app/qt_text.h"

namespace zelkor {

namespace {

const QString kGeometry = QStringLiteral("window/geometry");
const QString kDockState = QStringLiteral("window/docks");
const QString kRecentFiles = QStringLiteral("recentFiles");

QString folderKey(const QString& kind) {
    return QStringLiteral("folders/") + kind;
}

} // namespace

WindowState::WindowState(const std::string& programFolder)
    : file_(fromNativePath(programFolder) + QStringLiteral("Zelkor2kWindow.ini"),
            QSettings::IniFormat) {}

QByteArray WindowState::geometry() const {
    return file_.value(kGeometry).toByteArray();
}

QByteArray WindowState::dockState() const {
    return file_.value(kDockState).toByteArray();
}

void WindowState::setWindow(const QByteArray& geometry, const QByteArray& dockState) {
    file_.setValue(kGeometry, geometry);
    file_.setValue(kDockState, dockState);
    file_.sync();
}

QStringList WindowState::recentFiles() const {
    QStringList files = file_.value(kRecentFiles).toStringList();
    return files.mid(0, kMaxRecentFiles);
}

void WindowState::addRecentFile(const QString& path) {
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    file_.setValue(kRecentFiles, files.mid(0, kMaxRecentFiles));
    file_.sync();
}

void WindowState::removeRecentFile(const QString& path) {
    QStringList files = recentFiles();
    files.removeAll(path);
    file_.setValue(kRecentFiles, files);
    file_.sync();
}

QString WindowState::lastFolder(const QString& kind) const {
    return file_.value(folderKey(kind)).toString();
}

void WindowState::setLastFolder(const QString& kind, const QString& folder) {
    file_.setValue(folderKey(kind), folder);
    file_.sync();
}

} // namespace zelkor
