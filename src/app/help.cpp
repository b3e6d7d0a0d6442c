#include "app/help.h"

#include "app/qt_text.h"

#include <QUrl>

namespace zelkor {

std::string helpAddress(const std::string& programFolder, int context) {
    QUrl url = QUrl::fromLocalFile(fromNativePath(programFolder + kHelpFileName));
    url.setFragment(QStringLiteral("c%1").arg(context));
    return toCp932(url.toString());
}

void openHelp(Shell& shell, const std::string& programFolder, int context) {
    shell.openUrl(helpAddress(programFolder, context));
}

} // namespace zelkor
