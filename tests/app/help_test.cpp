// Help: the document among the program's own files, opened at its anchor
// through a redirect page, also by the platform's real opener.
#include "app/help.h"
#include "app/qt_text.h"
#include "app_fakes.h"
#include "core/program_folder.h"
#include "dialog_driving.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"
#include "text/file_io.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QUrl>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zelkor::test {
namespace {

TEST(Help, TheRedirectPageSendsTheBrowserToTheAnchor) {
    ensureApplication();
    const std::string target = "file://" + programFilesFolder() + "zelkor2k.html#c131075";
    EXPECT_EQ(helpAddress(kHelpRaceSelection), target);
    EXPECT_EQ(helpRedirectPage(kHelpRaceSelection),
              "<!DOCTYPE html>\n"
              "<html><head><meta charset=\"utf-8\">\n"
              "<meta http-equiv=\"refresh\" content=\"0; url=" +
                  target +
                  "\">\n"
                  "<title>\xe3\x82\xbc\xe3\x83\xab\xe3\x82\xb3\xe9\xa6\xac 2000 "
                  "\xe3\x83\x98\xe3\x83\xab\xe3\x83\x97</title></head>\n"
                  "<body><p><a href=\"" +
                  target +
                  "\">\xe3\x82\xbc\xe3\x83\xab\xe3\x82\xb3\xe9\xa6\xac 2000 "
                  "\xe3\x83\x98\xe3\x83\xab\xe3\x83\x97</a></p></body></html>\n");

    RecordingShell shell;
    openHelp(shell, kHelpViewer);
    ASSERT_EQ(shell.documents, std::vector<std::string>{helpRedirectPath()});
    EXPECT_TRUE(shell.urls.empty());
    EXPECT_EQ(readWholeFile(helpRedirectPath()), helpRedirectPage(kHelpViewer));
}

// xdg-open drops the anchor of a file:// address; through the redirect page
// the browser is still sent to it. A stand-in browser records what it gets.
TEST(Help, XdgOpenHandsTheBrowserAPageThatKeepsTheAnchor) {
    ensureApplication();
    TempFolder temp("zelkor-help");
    const std::string record = temp.file("opened");
    const std::string browser = temp.file("browser");
    ASSERT_TRUE(writeWholeFile(browser, "#!/bin/sh\nprintf '%s' \"$1\" >" + record +
                                            ".part && mv " + record + ".part " + record + "\n"));
    ::chmod(browser.c_str(), 0755);
    std::filesystem::create_directories(temp.file("data/applications"));
    ASSERT_TRUE(writeWholeFile(temp.file("data/applications/test-browser.desktop"),
                               "[Desktop Entry]\nType=Application\nName=Test browser\nExec=" +
                                   browser + " %u\nMimeType=text/html;\n"));
    ASSERT_TRUE(writeWholeFile(temp.file("mimeapps.list"),
                               "[Default Applications]\ntext/html=test-browser.desktop\n"));
    // A plain desktop with only our browser known.
    ScopedEnv display("DISPLAY", ":97");
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", "");
    ScopedEnv dataHome("XDG_DATA_HOME", temp.file("data"));
    ScopedEnv dataDirs("XDG_DATA_DIRS", temp.file("data"));
    ScopedEnv configHome("XDG_CONFIG_HOME", temp.path());
    ScopedEnv configDirs("XDG_CONFIG_DIRS", temp.path());
    ScopedEnv fallback("BROWSER", browser);

    // What the desktop's shell hands xdg-open for a document: its file:// address.
    RecordingShell shell;
    openHelp(shell, kHelpMainWindow);
    ASSERT_EQ(shell.documents.size(), 1u);
    const QString address =
        QUrl::fromLocalFile(QString::fromStdString(shell.documents[0])).toString();
    ASSERT_EQ(std::system(("xdg-open '" + address.toStdString() + "'").c_str()), 0);
    (void)QTest::qWaitFor([&] { return readWholeFile(record).has_value(); }, 10000);
    const std::optional<std::string> opened = readWholeFile(record);
    ASSERT_TRUE(opened) << "the browser was not started";
    const QUrl url = QUrl::fromUserInput(QString::fromStdString(*opened));
    const std::optional<std::string> page = readWholeFile(url.toLocalFile().toStdString());
    ASSERT_TRUE(page) << *opened;
    EXPECT_EQ(*page, helpRedirectPage(kHelpMainWindow));
    EXPECT_NE(page->find("zelkor2k.html#c131074\""), std::string::npos);
}

QSet<QString> matches(const QString& text, const char16_t* pattern) {
    QSet<QString> found;
    for (const auto& m : QRegularExpression(QString::fromUtf16(pattern)).globalMatch(text))
        found << m.captured(1)
                     .replace(QStringLiteral("&amp;"), QStringLiteral("&"))
                     .remove(QRegularExpression(QStringLiteral("\\(&.\\)|&|\\.\\.\\.|:")));
    return found;
}

// Every menu item, button and field the help and the first-use note name is
// one the main window (its menus, toolbar and form) or a dialog's form shows.
// (A menu's title is the text of its action.)
TEST(Help, NamesOnlyMenusAndButtonsTheProgramHas) {
    WindowUnderTest ui;
    QString shown;
    for (const QAction* a : ui.window->findChildren<QAction*>())
        shown += QStringLiteral("<property name=\"text\"><string>%1</string></property>"
                                "<property name=\"text\"><string>%2</string></property>")
                     .arg(a->text(), a->iconText());
    for (const char* form : {"main_form", "race_selection_dialog", "store_dates_dialog",
                             "backtest_period_dialog", "newspaper_settings_dialog"})
        shown += QString::fromStdString(
            readWholeFile(sourceFile((std::string("src/app/") + form + ".ui").c_str()))
                .value_or(""));
    // Texts and titles, not the windows' captions ("予想レース選択" is none).
    const QSet<QString> names =
        matches(shown, u"<property name=\"(?:text|title)\">\\s*<string>([^<]*)</string>");
    const QSet<QString> inHelp =
        matches(QString::fromStdString(
                    readWholeFile(sourceFile("resources/help/zelkor2k.html")).value_or("")),
                u"<span class=\"ui\">([^<]*)</span>");
    const QSet<QString> inNote = matches(toQt(kFirstUseNote), u"[［「]([^］」]*)[］」]");
    EXPECT_GT(inHelp.size(), 20);
    EXPECT_GT(inNote.size(), 5);
    for (const QString& name : inHelp + inNote)
        EXPECT_TRUE(names.contains(name)) << name.toStdString();
}

} // namespace
} // namespace zelkor::test
