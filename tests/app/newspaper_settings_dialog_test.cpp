// The newspaper settings dialog: its tabs, the live test address, the
// corrections made on opening and what OK and cancel leave in the settings.
#include "app/help.h"
#include "app/newspaper_settings_dialog.h"
#include "app/qt_text.h"
#include "app_fakes.h"
#include "core/settings.h"
#include "text/file_io.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace zelkor::test {
namespace {

QString q(const char16_t* text) {
    return QString::fromUtf16(text);
}

class SettingsDialogTest : public ::testing::Test {
  protected:
    void open(const AppSettings& start) {
        ensureApplication();
        settings = start;
        dialog = std::make_unique<NewspaperSettingsDialog>(settings, shell, "/prog/");
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    template <class W> W* child(const char* name) {
        W* w = dialog->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void showTab(int index) { child<QTabWidget>("tabs")->setCurrentIndex(index); }
    // Check boxes and radio buttons on their box, where a user clicks (the
    // widget may be wider than its text).
    void click(const char* name) {
        QAbstractButton* b = child<QAbstractButton>(name);
        const bool box = qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b);
        QTest::mouseClick(b, Qt::LeftButton, {},
                          box ? QPoint(6, b->height() / 2) : b->rect().center());
    }
    QString address() { return child<QPlainTextEdit>("testAddress")->toPlainText(); }

    AppSettings settings;
    RecordingShell shell;
    std::unique_ptr<NewspaperSettingsDialog> dialog;
};

TEST_F(SettingsDialogTest, OpensOnTheFirstOfThreeTabsShowingOnlyItsControls) {
    open(defaultSettings());
    EXPECT_EQ(dialog->windowTitle(), q(u"新聞設定"));
    QTabWidget* tabs = child<QTabWidget>("tabs");
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), q(u"ゼルコ馬スポーツ"));
    EXPECT_EQ(tabs->tabText(1), q(u"JV競馬新聞"));
    EXPECT_EQ(tabs->tabText(2), q(u"馬名リンク先"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(child<QCheckBox>("sportsImages")->isVisible());
    EXPECT_FALSE(child<QCheckBox>("paperImages")->isVisible());
    EXPECT_FALSE(child<QPushButton>("connectionTestButton")->isVisible());
    showTab(2);
    EXPECT_FALSE(child<QCheckBox>("sportsImages")->isVisible());
    EXPECT_TRUE(child<QPushButton>("connectionTestButton")->isVisible());

    QComboBox* pastRuns = child<QComboBox>("pastRuns");
    ASSERT_EQ(pastRuns->count(), 5);
    EXPECT_EQ(pastRuns->itemText(0), q(u"１"));
    EXPECT_EQ(pastRuns->itemText(4), q(u"５"));
    EXPECT_EQ(pastRuns->currentIndex(), 4); // five past runs by default
    EXPECT_EQ(child<QRadioButton>("resultsEdition")->text(), q(u"成績付き詳細版(&E)"));
    EXPECT_EQ(child<QPushButton>("resetAddressButton")->text(), q(u"初期設定に戻す(&R)"));
}

TEST_F(SettingsDialogTest, TheDefaultsTestAddressIsTheSearchAddressFollowedByTheTestName) {
    open(defaultSettings());
    EXPECT_EQ(address(), toQt(defaultSettings().dbUrl1) + QStringLiteral("duverovu"));
    EXPECT_TRUE(address().contains(QStringLiteral("ie=Shift_JIS")));
}

TEST_F(SettingsDialogTest, TypingInAnyPartUpdatesTheTestAddressAtEveryKeystroke) {
    AppSettings s = defaultSettings();
    s.dbUrl1 = "http://a/?n=";
    s.dbTestName = "";
    open(s);
    showTab(2);
    QLineEdit* name = child<QLineEdit>("testName");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_A);
    EXPECT_EQ(address(), QStringLiteral("http://a/?n=a"));
    QTest::keyClick(name, Qt::Key_B);
    EXPECT_EQ(address(), QStringLiteral("http://a/?n=ab"));
    QTest::keyClick(name, Qt::Key_Backspace);
    EXPECT_EQ(address(), QStringLiteral("http://a/?n=a"));

    QPlainTextEdit* url2 = child<QPlainTextEdit>("url2");
    url2->setFocus();
    QTest::keyClicks(url2, QStringLiteral("&x"));
    EXPECT_EQ(address(), QStringLiteral("http://a/?n=a&x"));
}

TEST_F(SettingsDialogTest, ResetRestoresBothHalvesButKeepsTheTestName) {
    open(defaultSettings());
    showTab(2);
    child<QPlainTextEdit>("url1")->setPlainText(QStringLiteral("http://mine/?q="));
    child<QPlainTextEdit>("url2")->setPlainText(QStringLiteral("&end"));
    QLineEdit* name = child<QLineEdit>("testName");
    name->clear();
    QTest::keyClicks(name, QStringLiteral("horse"));
    EXPECT_EQ(address(), QStringLiteral("http://mine/?q=horse&end"));

    click("resetAddressButton");
    EXPECT_EQ(child<QPlainTextEdit>("url1")->toPlainText(), toQt(defaultSettings().dbUrl1));
    EXPECT_TRUE(child<QPlainTextEdit>("url2")->toPlainText().isEmpty());
    EXPECT_EQ(name->text(), QStringLiteral("horse"));
    EXPECT_EQ(address(), toQt(defaultSettings().dbUrl1) + QStringLiteral("horse"));
}

// A stored edition and past-run count as the dialog opens them: a wrong
// edition corrected at once (kept even when cancelled, by button or Esc),
// more than five runs left without an entry until OK; the count is offered
// only with the edition with results.
TEST_F(SettingsDialogTest, StoredEditionAndPastRunsOpenCorrected) {
    struct Stored {
        int edition, pastRuns;
        const char* chosen;
        int entry;
        std::pair<int, int> opened; // the edition and count once opened
        Qt::Key leave;              // Esc cancels, Enter is OK
        int leftRuns;
    };
    const Stored cases[] = {
        {2, 5, "detailedEdition", 4, {2, 5}, Qt::Key_Escape, 5},
        {3, 2, "resultsEdition", 1, {3, 2}, Qt::Key_Escape, 2},
        {9, -2, "simpleEdition", 0, {1, 1}, Qt::Key_Escape, 1},
        {0, 3, "simpleEdition", 2, {1, 3}, Qt::Key_Escape, 3},
        {3, 7, "resultsEdition", -1, {3, 7}, Qt::Key_Return, 0},
    };
    for (const Stored& k : cases) {
        AppSettings s = defaultSettings();
        std::tie(s.paperEdition, s.paperPastRuns) = std::pair(k.edition, k.pastRuns);
        open(s);
        showTab(1);
        const std::string stored = std::to_string(k.edition) + "," + std::to_string(k.pastRuns);
        QComboBox* pastRuns = child<QComboBox>("pastRuns");
        EXPECT_TRUE(child<QRadioButton>(k.chosen)->isChecked()) << stored;
        EXPECT_EQ(pastRuns->currentIndex(), k.entry) << stored;
        EXPECT_EQ(pastRuns->isEnabled(), k.chosen == std::string("resultsEdition")) << stored;
        std::tie(s.paperEdition, s.paperPastRuns) = k.opened;
        EXPECT_EQ(settings, s) << stored;
        QTest::keyClick(dialog.get(), k.leave);
        EXPECT_EQ(settings.paperPastRuns, k.leftRuns) << stored;
    }
    open(defaultSettings());
    showTab(1);
    click("simpleEdition");
    EXPECT_FALSE(child<QComboBox>("pastRuns")->isEnabled());
    click("resultsEdition");
    EXPECT_TRUE(child<QComboBox>("pastRuns")->isEnabled());
    click("detailedEdition");
    EXPECT_FALSE(child<QComboBox>("pastRuns")->isEnabled());
}

TEST_F(SettingsDialogTest, OkCopiesEveryControlAndCancelNothing) {
    AppSettings s = defaultSettings();
    s.showFirstUseMessage = 1;
    open(s);
    click("sportsImages"); // off
    showTab(1);
    click("paperLinkNames"); // off
    click("paperHowToRead"); // off
    click("resultsEdition");
    child<QComboBox>("pastRuns")->setCurrentIndex(1);
    showTab(2);
    child<QPlainTextEdit>("url1")->setPlainText(QStringLiteral("http://x/?a="));
    child<QPlainTextEdit>("url2")->setPlainText(QStringLiteral("&b=1"));
    child<QLineEdit>("testName")->setText(q(u"テスト馬"));
    showTab(0); // nothing typed is lost by changing tabs

    AppSettings expected = s;
    expected.sportsShowImages = 0;
    expected.paperLinkNames = 0;
    expected.paperHowToRead = 0;
    expected.paperEdition = 3;
    expected.paperPastRuns = 2;
    expected.dbUrl1 = "http://x/?a=";
    expected.dbUrl2 = "&b=1";
    expected.dbTestName = "テスト馬";

    EXPECT_EQ(settings, s); // nothing copied before OK
    click("okButton");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(settings, expected); // paperShowImages and the first-use flag untouched

    open(s);
    click("sportsLinkNames");
    click("cancelButton");
    EXPECT_EQ(settings, s);
}

TEST_F(SettingsDialogTest, AddressesStayOnOneLine) {
    AppSettings s = defaultSettings();
    s.dbUrl1 = "http://x/?a=";
    s.dbTestName = "n";
    open(s);
    showTab(2);
    QPlainTextEdit* url2 = child<QPlainTextEdit>("url2");
    url2->setFocus();
    url2->insertPlainText(QStringLiteral("&b=1\n&c=2\r\n"));
    EXPECT_EQ(url2->toPlainText(), QStringLiteral("&b=1&c=2"));
    EXPECT_EQ(address(), QStringLiteral("http://x/?a=n&b=1&c=2"));
    QTest::keyClicks(url2, QStringLiteral("x"));
    EXPECT_EQ(url2->toPlainText(), QStringLiteral("&b=1&c=2x")); // the cursor stayed at the end

    // Enter in an address field is the dialog's OK, not a line break.
    QTest::keyClick(url2, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(settings.dbUrl2, "&b=1&c=2x");
}

TEST_F(SettingsDialogTest, ConnectionTestAndHelpGoToTheShell) {
    AppSettings s = defaultSettings();
    s.dbUrl1 = "http://db.example/s?jcode=%94n&key=";
    s.dbTestName = "馬 名";
    open(s);
    showTab(2);
    click("connectionTestButton");
    // The name goes out as the CP932 bytes a page of that encoding sends.
    ASSERT_EQ(shell.urls.size(), 1u);
    EXPECT_EQ(shell.urls[0], "http://db.example/s?jcode=%94n&key=%94n%20%96%BC");

    QTest::keyClick(dialog.get(), Qt::Key_F1);
    ASSERT_EQ(shell.documents.size(), 1u);
    EXPECT_EQ(shell.documents[0], helpRedirectPath());
    EXPECT_EQ(readWholeFile(helpRedirectPath()), helpRedirectPage(kHelpNewspaperSettings));
    EXPECT_TRUE(dialog->isVisible());
}

} // namespace
} // namespace zelkor::test
