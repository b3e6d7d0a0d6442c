// The race selection dialog on generated race cards: its rows and caption,
// the button rule under mouse and keyboard, the race information text, the
// ways it closes and the two batch requests.
#include "app/help.h"
#include "app/qt_text.h"
#include "app/race_selection_dialog.h"
#include "app_fakes.h"
#include "archive/archive_race_source.h"
#include "race/race_card.h"
#include "race/race_info.h"
#include "support/jv_generator.h"
#include "text/file_io.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace zelkor::test {
namespace {

QString q(const char16_t* text) {
    return QString::fromUtf16(text);
}

JvRaceData race(const char* course, int monthDay, int number, std::string name = {}) {
    JvRaceData r;
    r.courseCode = course;
    r.monthDay = monthDay;
    r.raceNumber = number;
    r.raceName = std::move(name);
    for (int h = 0; h < 8; ++h)
        r.runners.push_back(JvRunnerData{});
    return r;
}

class RaceSelectionTest : public ::testing::Test {
  protected:
    void open(const std::vector<JvRaceData>& races) {
        ensureApplication();
        cardPath = dir.filePath(QStringLiteral("JracDen1.dat")).toStdString();
        forgetJvFileIndexes();
        ASSERT_TRUE(writeJvRaceCard(cardPath, races));
        source = std::make_unique<ArchiveRaceSource>(cardPath, "/prog/");
        dialog = std::make_unique<RaceSelectionDialog>(*source, prompt, shell);
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        list = dialog->raceList();
    }
    // Most cards here: race 1 of 中山 on 5 January, then 東京 and 京都.
    void openDay() {
        open({race("06", 105, 1), race("06", 105, 3, "若竹賞"),
              race("05", 1130, 11, "ジャパンカップ"), race("08", 1130, 12, "京都最終")});
    }
    QPushButton* button(const char* name) {
        auto* b = dialog->findChild<QPushButton*>(QString::fromLatin1(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    void clickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
        QTreeWidgetItem* item = list->topLevelItem(row);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                          list->visualItemRect(item).center());
    }
    QString rowText(int row, int column) { return list->topLevelItem(row)->text(column); }
    bool newspaperOn() { return button("newspaperButton")->isEnabled(); }
    bool okOn() { return button("okButton")->isEnabled(); }
    QString infoOf(int position) {
        JvRaceCard card;
        EXPECT_TRUE(readRace(card, cardPath, position));
        return toQt(raceInfoText(card)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }

    QTemporaryDir dir;
    std::string cardPath;
    std::unique_ptr<ArchiveRaceSource> source;
    RecordingAppPrompt prompt;
    RecordingShell shell;
    std::unique_ptr<RaceSelectionDialog> dialog;
    QTreeWidget* list = nullptr;
};

TEST_F(RaceSelectionTest, ListsEveryRaceInCardOrderUnderTheFourHeadings) {
    openDay();
    EXPECT_EQ(dialog->windowTitle(), q(u"予想レース選択 (全 4 レース)"));
    EXPECT_EQ(dialog->raceCount(), 4);
    QTreeWidgetItem* header = list->headerItem();
    ASSERT_EQ(list->columnCount(), 4);
    EXPECT_EQ(header->text(0), q(u"月日"));
    EXPECT_EQ(header->text(1), q(u"競馬場"));
    EXPECT_EQ(header->text(2), q(u"Ｒ"));
    EXPECT_EQ(header->text(3), q(u"レース名"));
    EXPECT_FALSE(list->header()->sectionsClickable());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);

    ASSERT_EQ(list->topLevelItemCount(), 4);
    EXPECT_EQ(rowText(0, 0), QStringLiteral("0105"));
    EXPECT_EQ(rowText(0, 1), q(u"中山"));
    EXPECT_EQ(rowText(0, 2), QStringLiteral("1"));
    EXPECT_EQ(rowText(1, 3), q(u"若竹賞"));
    EXPECT_EQ(rowText(2, 0), QStringLiteral("1130"));
    EXPECT_EQ(rowText(2, 1), q(u"東京"));
    EXPECT_EQ(rowText(2, 2), QStringLiteral("11"));
    EXPECT_EQ(rowText(2, 3), q(u"ジャパンカップ"));
    EXPECT_EQ(rowText(3, 1), q(u"京都"));

    // Nothing chosen yet.
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_FALSE(newspaperOn());
    EXPECT_FALSE(okOn());
    EXPECT_TRUE(button("predictAllButton")->isEnabled());
    EXPECT_TRUE(dialog->raceInfoText().isEmpty());
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(RaceSelectionTest, AClickShowsTheRaceInformationAndAllowsOk) {
    openDay();
    clickRow(1);
    EXPECT_TRUE(newspaperOn());
    EXPECT_TRUE(okOn());
    EXPECT_EQ(dialog->raceInfoText(), infoOf(2));
    EXPECT_TRUE(dialog->raceInfoText().startsWith(q(u"中山競馬場 第1回 1日目  3Ｒ 2026年1月5日")));
    EXPECT_NE(dialog->raceInfoText().indexOf(q(u"\t [若竹賞]")), -1);

    clickRow(2);
    EXPECT_EQ(dialog->raceInfoText(), infoOf(3));
    EXPECT_EQ(dialog->selectedRaces(), std::vector<int>{3});
}

TEST_F(RaceSelectionTest, SeveralRowsAllowNewspapersButNotOk) {
    openDay();
    clickRow(0);
    clickRow(2, Qt::ControlModifier);
    EXPECT_EQ(dialog->selectedRaces(), (std::vector<int>{1, 3}));
    EXPECT_TRUE(newspaperOn());
    EXPECT_FALSE(okOn());
    // The text follows the last selected race in list order.
    EXPECT_EQ(dialog->raceInfoText(), infoOf(3));

    // OK (and Enter) with two rows is ignored.
    QTest::mouseClick(button("okButton"), Qt::LeftButton);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    dialog->accept();
    EXPECT_TRUE(dialog->isVisible());

    // Clicking into the empty area below the rows selects nothing.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(10, list->viewport()->height() - 3));
    EXPECT_TRUE(dialog->selectedRaces().empty());
    EXPECT_FALSE(newspaperOn());
    EXPECT_FALSE(okOn());
    EXPECT_TRUE(dialog->raceInfoText().isEmpty());
}

TEST_F(RaceSelectionTest, SelectButtonsApplyTheRuleAndFocusTheList) {
    openDay();
    clickRow(1);
    QTest::mouseClick(button("selectAllButton"), Qt::LeftButton);
    EXPECT_EQ(dialog->selectedRaces(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(newspaperOn());
    EXPECT_FALSE(okOn());
    EXPECT_TRUE(dialog->raceInfoText().isEmpty());
    EXPECT_TRUE(list->hasFocus());

    QTest::mouseClick(button("selectNoneButton"), Qt::LeftButton);
    EXPECT_TRUE(dialog->selectedRaces().empty());
    EXPECT_FALSE(newspaperOn());
    EXPECT_FALSE(okOn());
    EXPECT_TRUE(list->hasFocus());
}

TEST_F(RaceSelectionTest, SelectAllOnAOneRaceCardAllowsBoth) {
    open({race("05", 1130, 11, "ジャパンカップ")});
    EXPECT_EQ(dialog->windowTitle(), q(u"予想レース選択 (全 1 レース)"));
    QTest::mouseClick(button("selectAllButton"), Qt::LeftButton);
    EXPECT_TRUE(newspaperOn());
    EXPECT_TRUE(okOn());
    QTest::mouseClick(button("okButton"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->chosenRace(), 1);
}

TEST_F(RaceSelectionTest, TheKeyboardAloneCanChooseARace) {
    openDay();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(dialog->selectedRaces().size(), 1u);
    EXPECT_TRUE(okOn());
    const int chosen = dialog->selectedRaces().front();
    EXPECT_EQ(dialog->raceInfoText(), infoOf(chosen));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->chosenRace(), chosen);
}

TEST_F(RaceSelectionTest, DoubleClickChoosesThatRow) {
    openDay();
    clickRow(0);
    clickRow(1, Qt::ControlModifier);
    // The first click of a double-click selects the row alone.
    clickRow(3);
    QTreeWidgetItem* item = list->topLevelItem(3);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->chosenRace(), 4);
}

TEST_F(RaceSelectionTest, EscapeCloseAndCancelGiveNoRace) {
    openDay();
    clickRow(2);
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);

    openDay();
    clickRow(2);
    QTest::mouseClick(button("cancelButton"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(button("cancelButton")->text(), q(u"ｷｬﾝｾﾙ(&C)"));

    openDay();
    dialog->close();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(RaceSelectionTest, BatchButtonsAskForTheirRaces) {
    openDay();
    QSignalSpy papers(dialog.get(), &RaceSelectionDialog::newspapersRequested);
    QSignalSpy all(dialog.get(), &RaceSelectionDialog::predictAllRequested);
    clickRow(3);
    clickRow(1, Qt::ControlModifier);
    QTest::mouseClick(button("newspaperButton"), Qt::LeftButton);
    ASSERT_EQ(papers.count(), 1);
    EXPECT_EQ(papers.at(0).at(0).value<std::vector<int>>(), (std::vector<int>{2, 4}));

    // すべて予想 takes every race whatever is selected.
    QTest::mouseClick(button("predictAllButton"), Qt::LeftButton);
    ASSERT_EQ(all.count(), 1);
    EXPECT_EQ(all.at(0).at(0).value<std::vector<int>>(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(RaceSelectionTest, F1OpensItsHelp) {
    openDay();
    QTest::keyClick(list, Qt::Key_F1);
    ASSERT_EQ(shell.documents.size(), 1u);
    EXPECT_EQ(shell.documents[0], helpRedirectPath());
    EXPECT_EQ(readWholeFile(helpRedirectPath()), helpRedirectPage(kHelpRaceSelection));
}

TEST_F(RaceSelectionTest, AMissingCardGivesAnEmptyListThatCanOnlyBeCancelled) {
    ensureApplication();
    cardPath = dir.filePath(QStringLiteral("JracDen1.dat")).toStdString();
    ArchiveRaceSource missing(cardPath, "/prog/");
    RaceSelectionDialog empty(missing, prompt, shell);
    EXPECT_EQ(empty.raceList()->topLevelItemCount(), 0);
    EXPECT_EQ(prompt.messages.size(), 1u); // the reader's "cannot open"
    for (const char* name : {"newspaperButton", "okButton", "predictAllButton"})
        EXPECT_FALSE(empty.findChild<QPushButton*>(QString::fromLatin1(name))->isEnabled()) << name;
}

} // namespace
} // namespace zelkor::test
