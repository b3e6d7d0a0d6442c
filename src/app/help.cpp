#include "app/help.h"

#include "app/qt_text.h"
#include "core/program_folder.h"
#include "text/file_io.h"

#include <QDir>
#include <QStandardPaths>
#include <QUrl>

namespace zelkor {

namespace {

QUrl helpUrl(int context) {
    QUrl url = QUrl::fromLocalFile(fromNativePath(programFilesFolder() + kHelpFileName));
    url.setFragment(QStringLiteral("c%1").arg(context));
    return url;
}

} // namespace

std::string helpAddress(int context) {
    return toCp932(helpUrl(context).toString());
}

std::string helpRedirectPage(int context) {
    const QString target = helpUrl(context).toString(QUrl::FullyEncoded).toHtmlEscaped();
    const QString page = QStringLiteral("<!DOCTYPE html>\n"
                                        "<html><head><meta charset=\"utf-8\">\n"
                                        "<meta http-equiv=\"refresh\" content=\"0; url=%1\">\n"
                                        "<title>ゼルコ馬 2000 ヘルプ</title></head>\n"
                                        "<body><p><a href=\"%1\">ゼルコ馬 2000 ヘルプ</a></p>"
                                        "</body></html>\n")
                             .arg(target);
    return page.toStdString();
}

std::string helpRedirectPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return toNativePath(folder + QStringLiteral("/zelkor2k-help.html"));
}

void openHelp(Shell& shell, int context) {
    const std::string redirect = helpRedirectPath();
    if (writeWholeFile(redirect, helpRedirectPage(context)))
        shell.openDocument(redirect);
    else
        shell.openUrl(helpAddress(context)); // at least the document, if not its place
}

} // namespace zelkor
