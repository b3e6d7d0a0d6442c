// The secondary windows: viewer, About box, progress window, the Qt prompt
// and the artwork.
#include "app/about_dialog.h"
#include "app/app_ports.h"
#include "app/artwork.h"
#include "app/page_viewer_dialog.h"
#include "app/progress_dialog.h"
#include "app/qt_text.h"
#include "app_fakes.h"
#include "text/file_io.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

namespace zelkor::test {
namespace {

QString q(const char16_t* text) {
    return QString::fromUtf16(text);
}

TEST(PageViewerDialog, ShowsACp932PageAndReloadsItWhenItChanges) {
    ensureApplication();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page with space.tmp"));
    ASSERT_TRUE(writeWholeFile(toNativePath(path),
                               "<HTML><BODY><TABLE><TR><TD>白 1枠 1番 メジロ</TD></TR></TABLE>"
                               "</BODY></HTML>"));
    PageViewerDialog viewer(nullptr);
    viewer.show();
    viewer.showPageFile(path);
    EXPECT_EQ(viewer.pagePath(), path);
    EXPECT_NE(viewer.browser()->toPlainText().indexOf(q(u"白 1枠 1番 メジロ")), -1);

    ASSERT_TRUE(writeWholeFile(toNativePath(path), "<HTML><BODY>桜花賞 (ＧⅠ)</BODY></HTML>"));
    viewer.showPageFile(path);
    EXPECT_EQ(viewer.browser()->toPlainText(), q(u"桜花賞 (ＧⅠ)"));
}

TEST(PageViewerDialog, CannotBeClosedByTheUserButResizesItsPage) {
    ensureApplication();
    PageViewerDialog viewer(nullptr);
    viewer.show();
    EXPECT_FALSE(viewer.close());
    QTest::keyClick(&viewer, Qt::Key_Escape);
    QTest::keyClick(&viewer, Qt::Key_Return);
    EXPECT_TRUE(viewer.isVisible());
    viewer.resize(500, 300);
    QApplication::processEvents();
    EXPECT_EQ(viewer.browser()->size(), viewer.size());
    viewer.resize(700, 450);
    QApplication::processEvents();
    EXPECT_EQ(viewer.browser()->size(), viewer.size());
}

TEST(AboutDialog, ShowsVersionAndOpensTheMakersPage) {
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
    ASSERT_EQ(shell.urls.size(), 1u);
    EXPECT_EQ(shell.urls[0], kMakerHomePage);
}

TEST(ProgressDialog, ShowsWhatItsCallerSetsAndCannotBeDismissed) {
    ensureApplication();
    ProgressDialog progress(nullptr);
    progress.show();
    EXPECT_EQ(progress.windowTitle(), q(u"保存中..."));
    progress.setText("新聞を作成しています");
    EXPECT_EQ(progress.text(), q(u"新聞を作成しています"));
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

TEST(QtUserPrompt, AsksWithNoAsTheDefaultAnswer) {
    ensureApplication();
    QtUserPrompt prompt;
    QString seenText, seenTitle;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenText = box->text();
        seenTitle = box->windowTitle();
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        // Enter takes the default: No.
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_FALSE(prompt.askYesNo("ゼルコ馬 2000を終了しますか？", "ゼルコ馬 2000 終了の確認"));
    EXPECT_EQ(seenText, q(u"ゼルコ馬 2000を終了しますか？"));
    EXPECT_EQ(seenTitle, q(u"ゼルコ馬 2000 終了の確認"));

    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenTitle = box->windowTitle();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    prompt.showMessage("先に予想してください。");
    EXPECT_EQ(seenTitle, q(u"Qorvex - ゼルコ馬 2000"));
}

TEST(Artwork, IconsAreDrawnAndDistinct) {
    ensureApplication();
    const QImage predict = commandIcon(CommandArt::Predict).pixmap(32).toImage();
    const QImage bets = commandIcon(CommandArt::Bets).pixmap(32).toImage();
    EXPECT_FALSE(predict.isNull());
    EXPECT_NE(predict, bets);
    EXPECT_EQ(splashPicture().size(), QSize(300, 240));
    EXPECT_FALSE(applicationIcon().isNull());
}

} // namespace
} // namespace zelkor::test
