// The secondary windows: viewer, About box, progress window, the Qt prompt
// and the artwork.
#include "app/about_dialog.h"
#include "app/app_icons.h"
#include "app/app_ports.h"
#include "app/backtest_period_dialog.h"
#include "app/file_chooser.h"
#include "app/help.h"
#include "app/newspaper_settings_dialog.h"
#include "app/page_file_guard.h"
#include "app/page_viewer.h"
#include "app/progress_dialog.h"
#include "app/qt_text.h"
#include "app/race_selection_dialog.h"
#include "app/store_dates_dialog.h"
#include "app_fakes.h"
#include "dialog_driving.h"
#include "text/file_io.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zelkor::test {
namespace {

QString q(const char16_t* text) {
    return QString::fromUtf16(text);
}

TEST(PageViewer, ShowsACp932PageAndReloadsItWhenItChanges) {
    ensureApplication();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page with space.tmp"));
    ASSERT_TRUE(writeWholeFile(toNativePath(path),
                               "<HTML><BODY><TABLE><TR><TD>白 1枠 1番 メジロ</TD></TR></TABLE>"
                               "</BODY></HTML>"));
    PageViewer viewer(nullptr);
    viewer.show();
    viewer.showPageFile(path);
    EXPECT_EQ(viewer.pagePath(), path);
    EXPECT_NE(viewer.browser()->toPlainText().indexOf(q(u"白 1枠 1番 メジロ")), -1);

    ASSERT_TRUE(writeWholeFile(toNativePath(path), "<HTML><BODY>桜花賞 (ＧⅠ)</BODY></HTML>"));
    viewer.showPageFile(path);
    EXPECT_EQ(viewer.browser()->toPlainText(), q(u"桜花賞 (ＧⅠ)"));
}

TEST(AboutDialog, ShowsVersionAndOpensTheInstalledHelp) {
    ensureApplication();
    RecordingShell shell;
    AboutDialog about(shell, nullptr);
    EXPECT_EQ(about.windowTitle(), q(u"ﾊﾞｰｼﾞｮﾝ情報"));
    bool found = false;
    for (QLabel* label : about.findChildren<QLabel*>())
        found = found || label->text() == q(u"ゼルコ馬2000 Version 3.04");
    EXPECT_TRUE(found);
    QPushButton* home = about.findChild<QPushButton*>(QStringLiteral("homePageButton"));
    ASSERT_NE(home, nullptr);
    QTest::mouseClick(home, Qt::LeftButton);
    // No dead link: the help that came with the program.
    ASSERT_EQ(shell.documents.size(), 1u);
    EXPECT_EQ(shell.documents[0], helpRedirectPath());
    EXPECT_TRUE(shell.urls.empty());
}

TEST(ProgressDialog, ShowsWhatItsCallerSetsAndCannotBeDismissed) {
    ensureApplication();
    ProgressDialog progress(nullptr);
    progress.show();
    EXPECT_EQ(progress.windowTitle(), q(u"保存中..."));
    progress.setText("新聞を作成しています");
    EXPECT_EQ(progress.text(), q(u"新聞を作成しています"));
    // A long path keeps its start and its file name.
    const std::string path = "/home/user/" + std::string(300, 'a') + "/JracDen1.dat";
    progress.setText("読込中\r\n" + path);
    const QStringList shown = progress.shownText().split(u'\n');
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[1].startsWith(QStringLiteral("/home/user/aa")));
    EXPECT_TRUE(shown[1].endsWith(QStringLiteral("a/JracDen1.dat")));
    EXPECT_TRUE(shown[1].contains(QChar(0x2026)));
    progress.setPosition(10);
    progress.setStep(30);
    progress.step();
    EXPECT_EQ(progress.position(), 40);
    progress.step();
    progress.step();
    EXPECT_EQ(progress.position(), 100);
    progress.step(); // past the end the bar starts over
    EXPECT_EQ(progress.position(), 30);
    QTest::keyClick(&progress, Qt::Key_Escape);
    EXPECT_TRUE(progress.isVisible());
}

// What the one message box on screen shows.
struct SeenBox {
    QString text, title, yes, no, ok;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool noIsDefault = false;
    int buttons = 0;
    int roomForCaption = 0; // the box's width less its caption's and the frame's buttons
};

// Reads the next message box as soon as it is shown, then answers it with
// `key` (Enter takes the default button).
void readNextBox(SeenBox& seen, Qt::Key key = Qt::Key_Return) {
    QTimer::singleShot(0, [&seen, key] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.text = box->text();
        seen.title = box->windowTitle();
        seen.icon = box->icon();
        seen.buttons = int(box->buttons().size());
        const QFontMetrics metrics(box->font());
        seen.roomForCaption =
            box->width() - metrics.horizontalAdvance(seen.title) - metrics.height() * 8;
        auto label = [box](QMessageBox::StandardButton b) {
            return box->button(b) ? box->button(b)->text() : QString();
        };
        seen.yes = label(QMessageBox::Yes);
        seen.no = label(QMessageBox::No);
        seen.ok = label(QMessageBox::Ok);
        seen.noIsDefault =
            box->defaultButton() && box->defaultButton() == box->button(QMessageBox::No);
        QTest::keyClick(box, key);
    });
}

TEST(QtUserPrompt, AsksWithNoAsTheDefaultAnswerInJapanese) {
    ensureApplication();
    QtUserPrompt prompt;
    SeenBox seen;
    readNextBox(seen);
    EXPECT_FALSE(prompt.askYesNo("ゼルコ馬 2000を終了しますか？", "ゼルコ馬 2000 終了の確認"));
    EXPECT_EQ(seen.text, q(u"ゼルコ馬 2000を終了しますか？"));
    EXPECT_EQ(seen.title, q(u"ゼルコ馬 2000 終了の確認"));
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_TRUE(seen.noIsDefault);
    // Qt's own button texts are Japanese whatever the locale.
    EXPECT_TRUE(seen.yes.contains(q(u"はい"))) << seen.yes.toStdString();
    EXPECT_TRUE(seen.no.contains(q(u"いいえ"))) << seen.no.toStdString();
}

TEST(QtUserPrompt, FailuresWarnAndNotesCarryTheirIcon) {
    ensureApplication();
    QtUserPrompt prompt;
    SeenBox failure;
    readNextBox(failure);
    prompt.showMessage("先に予想してください。");
    EXPECT_EQ(failure.title, q(u"Qorvex - ゼルコ馬 2000"));
    EXPECT_EQ(failure.icon, QMessageBox::Warning);
    EXPECT_EQ(failure.buttons, 1);
    EXPECT_EQ(failure.ok, QStringLiteral("OK"));
    EXPECT_GE(failure.roomForCaption, 0);

    SeenBox note;
    readNextBox(note, Qt::Key_Escape);
    prompt.showNote("初めて使う方へ・・・", MessageIcon::Question);
    EXPECT_EQ(note.text, q(u"初めて使う方へ・・・"));
    EXPECT_EQ(note.icon, QMessageBox::Question);
    EXPECT_EQ(note.buttons, 1);

    SeenBox information;
    readNextBox(information);
    prompt.showNote("記録しました。", MessageIcon::Information, "ゼルコ馬");
    EXPECT_EQ(information.icon, QMessageBox::Information);
    EXPECT_EQ(information.title, q(u"ゼルコ馬"));
}

TEST(QtFileChooser, FileDialogsSpeakJapaneseAndCarryTheirTitles) {
    ensureApplication();
    QtFileChooser chooser;
    QObject watches;
    QString title, fileNameLabel, lookInLabel, folderKind;
    QHeaderView::ResizeMode sizeColumn = QHeaderView::Interactive;
    whenModal<QFileDialog>(&watches, [&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        folderKind = dialog.iconProvider()->type(QFileInfo(QDir::homePath()));
        if (auto* view = dialog.findChild<QTreeView*>())
            sizeColumn = view->header()->sectionResizeMode(1);
        if (auto* label = dialog.findChild<QLabel*>(QStringLiteral("fileNameLabel")))
            fileNameLabel = label->text();
        if (auto* label = dialog.findChild<QLabel*>(QStringLiteral("lookInLabel")))
            lookInLabel = label->text();
    });
    QTemporaryDir dir;
    FileDialogRequest pageSave = pageSaveRequest(QString(), "paper.html");
    pageSave.folder = dir.path();
    EXPECT_TRUE(chooser.chooseSaveFile(nullptr, pageSave).isEmpty()); // cancelled
    EXPECT_EQ(title, q(u"名前を付けて保存"));
    EXPECT_TRUE(fileNameLabel.contains(q(u"ファイル名"))) << fileNameLabel.toStdString();
    EXPECT_FALSE(lookInLabel.isEmpty());
    EXPECT_FALSE(lookInLabel.contains(QStringLiteral("Look in"))) << lookInLabel.toStdString();
    EXPECT_EQ(folderKind, q(u"フォルダー"));
    EXPECT_EQ(sizeColumn, QHeaderView::ResizeToContents); // no cut columns

    whenModal<QFileDialog>(&watches, [&](QFileDialog& dialog) { title = dialog.windowTitle(); });
    const FileDialogRequest open{q(u"ゼルコ馬ファイルを開く"),
                                 q(u"ゼルコ馬ファイル (*.zel)"),
                                 QStringLiteral("zel"),
                                 {},
                                 {}};
    EXPECT_TRUE(chooser.chooseOpenFile(nullptr, open).isEmpty());
    EXPECT_EQ(title, q(u"ゼルコ馬ファイルを開く"));

    // The question before a file is replaced.
    const QString replace = QCoreApplication::translate(
        "QFileDialog", "%1 already exists.\nDo you want to replace it?");
    EXPECT_FALSE(replace.contains(QStringLiteral("already exists"))) << replace.toStdString();
}

TEST(Artwork, IconsAreDrawnAndDistinct) {
    ensureApplication();
    // The icons the build stored are the pictures as drawn, pixel for pixel.
    const auto pixels = [](const QPixmap& p) {
        return p.toImage().convertToFormat(kIconPixelFormat);
    };
    for (int art = 0; art < kCommandArtCount; ++art) {
        for (int size : {32, 64})
            EXPECT_EQ(pixels(commandIcon(CommandArt(art)).pixmap(size)),
                      pixels(commandPixmap(CommandArt(art), size)))
                << art << " " << size;
    }
    const QImage predict = commandIcon(CommandArt::Predict).pixmap(32).toImage();
    const QImage bets = commandIcon(CommandArt::Bets).pixmap(32).toImage();
    EXPECT_FALSE(predict.isNull());
    EXPECT_NE(predict, bets);
    EXPECT_EQ(splashPicture().size(), QSize(300, 240));
    EXPECT_EQ(applicationIcon().pixmap(48).size(), QSize(48, 48));
}

} // namespace
} // namespace zelkor::test

namespace zelkor::test {
namespace {

// Fits 1280×800 at 150 % where the tests run at 1.5 times the size, and
// 1024×768 otherwise, with room for the frame; every button, box and menu
// item has its mnemonic.
void expectFits(QWidget& window) {
    const qreal scale = window.devicePixelRatioF();
    const QSize usable = ((scale > 1 ? QSizeF(1264, 752) : QSizeF(1008, 720)) / scale).toSize();
    const QSize minimum = window.minimumSizeHint().expandedTo(window.minimumSize());
    EXPECT_TRUE(usable.expandedTo(minimum) == usable) << window.metaObject()->className();
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        EXPECT_TRUE(qobject_cast<const QToolButton*>(button) || button->text().isEmpty() ||
                    button->text().contains(u'&'))
            << button->text().toStdString();
    for (const QMenu* menu : window.findChildren<QMenu*>())
        for (const QAction* a : menu->actions())
            EXPECT_TRUE(a->isSeparator() || a->text().contains(u'&')) << a->text().toStdString();
}

TEST(ScreenFit, EveryWindowFitsASmallScreen) {
    WindowUnderTest ui;
    MainWindow& main = *ui.window;
    expectFits(main);
    whenModal<RaceSelectionDialog>(&main, [](RaceSelectionDialog& d) { expectFits(d); });
    ui.files.paths.push_back(QString::fromStdString(sourceFile("resources/sample/JV_SAMPLE.lzh")));
    main.actions().openJraVan->trigger();
    whenModal<NewspaperSettingsDialog>(&main, [](NewspaperSettingsDialog& d) { expectFits(d); });
    main.actions().newspaperSettings->trigger();
    AboutDialog about(ui.shell, &main);
    BacktestPeriodDialog period(20250105, 20251228, &main);
    StoreDatesDialog dates({}, &main);
    ProgressDialog progress(&main);
    for (QWidget* dialog : std::initializer_list<QWidget*>{&about, &period, &dates, &progress})
        expectFits(*dialog);
}

TEST(PageFileGuard, TheFileGoesWithTheProgramOnEachEndingSignal) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        QTemporaryDir dir;
        const std::string path = toNativePath(dir.filePath(QStringLiteral("zel1-abcdef.tmp")));
        ASSERT_TRUE(writeWholeFile(path, "test"));
        const pid_t child = ::fork();
        if (child == 0) {
            removeFileOnTerminationSignals(path);
            ::raise(signal);
            ::_exit(0); // not reached: the signal ends the program
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_FALSE(fileExists(path)) << signal;
    }
}

} // namespace
} // namespace zelkor::test
