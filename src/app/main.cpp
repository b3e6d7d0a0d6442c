#include "app/app_ports.h"
#include "app/file_chooser.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/qt_translation.h"
#include "app/race_session.h"
#include "app/splash.h"
#include "core/install_layout.h"
#include "core/program_folder.h"
#include "core/version.h"

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <optional>

using namespace zelkor;

namespace {

constexpr const char* kUsage =
    "usage: zelkor2k [--no-splash] [--program-folder DIR] [FILE.zel]\n"
    "       zelkor2k --version\n"
    "\n"
    "  FILE.zel              a prediction file to open at start\n"
    "  --no-splash           start without the start picture\n"
    "  --program-folder DIR  work on the folder DIR: settings, working folders and\n"
    "                        pictures are looked for there\n"
    "  --version             print the version and exit\n"
    "  -h, --help            print this help and exit\n";

// --version and --help answer on the terminal, before any window (or display)
// is needed. Returns the exit status when one of them was given.
std::optional<int> answerOnTerminal(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("zelkor2k %s\n", kVersionText);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace

// zelkor2k [--no-splash] [--program-folder DIR] [FILE.zel]
int main(int argc, char** argv) {
    if (std::optional<int> status = answerOnTerminal(argc, argv))
        return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zelkor2k"));
    QApplication::setApplicationVersion(QString::fromLatin1(kVersionText));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopAppId));
    installJapaneseQtTexts();

    bool splash = true;
    std::string givenFolder;
    QStringList rest;
    const QStringList args = QApplication::arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"--no-splash")
            splash = false;
        else if (args[i] == u"--program-folder" && i + 1 < args.size())
            givenFolder = toNativePath(args[++i]);
        else
            rest << args[i];
    }

    QtUserPrompt prompt;
    // A folder that cannot be used is told now, not later as a failed import.
    const Result<std::string> folder = chooseProgramFolder(givenFolder);
    if (!folder) {
        prompt.showMessage(folder.message());
        return 1;
    }

    if (splash)
        showSplashFor3Seconds();

    QtShell shell;
    QtFileChooser files;
    MainWindow window(*folder, AppServices{prompt, shell, files});
    prompt.setParent(&window);
    window.start(rest.join(u' '));
    return QApplication::exec();
}
