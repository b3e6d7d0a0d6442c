#include "app/app_ports.h"
#include "app/file_chooser.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/qt_translation.h"
#include "app/splash.h"
#include "core/program_folder.h"

#include <QApplication>
#include <QStringList>

using namespace zelkor;

// zelkor2k [--no-splash] [--program-folder DIR] [FILE.zel]
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zelkor2k"));
    installJapaneseQtTexts();

    bool splash = true;
    std::string programFolder;
    QStringList rest;
    const QStringList args = QApplication::arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"--no-splash")
            splash = false;
        else if (args[i] == u"--program-folder" && i + 1 < args.size())
            programFolder = withTrailingSeparator(toNativePath(args[++i]));
        else
            rest << args[i];
    }
    if (programFolder.empty())
        programFolder = detectProgramFolder();

    if (splash)
        showSplashFor3Seconds();

    QtUserPrompt prompt;
    QtShell shell;
    QtFileChooser files;
    MainWindow window(programFolder, AppServices{prompt, shell, files});
    prompt.setParent(&window);
    window.start(rest.join(u' '));
    return QApplication::exec();
}
