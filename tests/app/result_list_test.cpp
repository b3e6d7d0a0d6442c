// The five result lists stay level: line i of every list is drawn in the
// same band, before and after scrolling. CTest runs this group a second time
// with QT_SCALE_FACTOR=1.5.
#include "app/main_form.h"
#include "app_fakes.h"
#include "text/format.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace zelkor::test {
namespace {

// 18 named runners, predicted.
void predictEighteen(MainWindow& w) {
    RaceSheet s;
    s.runnerCount = s.liveRunnerCount = 18;
    for (int h = 1; h <= 18; ++h) {
        // Long and short names, so no row is sized by its own text.
        s.runner(h).name = h % 3 == 0 ? format("アイウエオカキクケ%d", h) : format("ウマ%d", h);
        s.runner(h).oddsBand = (h * 7) % 15;
        s.runner(h).pastRuns[kLastRun].finish = (h * 5) % 18;
    }
    typeInRace(w, s);
    w.predict();
}

// Every visible line: the five cells share one band, and the bands follow
// each other without gaps or overlaps.
void expectLevelLines(QTreeWidget* results) {
    const QRect viewport = results->viewport()->rect();
    int previousBottom = -1;
    int visible = 0;
    for (int row = 0; row < results->topLevelItemCount(); ++row) {
        const QRect first = results->visualRect(results->model()->index(row, 0));
        for (int column = 1; column < MainForm::kResultColumns; ++column) {
            const QRect cell = results->visualRect(results->model()->index(row, column));
            EXPECT_EQ(cell.top(), first.top()) << "row " << row << " column " << column;
            EXPECT_EQ(cell.height(), first.height()) << "row " << row << " column " << column;
            EXPECT_EQ(cell.left(),
                      results->visualRect(results->model()->index(row, column - 1)).right() + 1);
        }
        if (row > 0) {
            EXPECT_EQ(first.top(), previousBottom + 1) << "row " << row;
        }
        previousBottom = first.bottom();
        if (viewport.intersects(first))
            ++visible;
    }
    EXPECT_GT(visible, 3);
}

TEST(ResultList, EighteenLinesStayLevelAcrossTheFiveListsWhenScrolled) {
    WindowUnderTest app;
    predictEighteen(*app.window);
    QTreeWidget* results = app.window->form().ui().resultList;
    ASSERT_EQ(results->topLevelItemCount(), 18);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app.window.get()));
    expectLevelLines(results);

    // More lines than fit: one scroll bar moves all five lists together.
    results->setMaximumHeight(results->height() / 2);
    QScrollBar* bar = results->verticalScrollBar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->maximum() > 0; }))
        << "18 lines should not fit without scrolling";
    bar->setValue(bar->maximum());
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return results->viewport()->rect().contains(
            results->visualRect(results->model()->index(17, 0)));
    }));
    expectLevelLines(results);

    // The header names the five lists in their order.
    QStringList headings;
    for (int column = 0; column < MainForm::kResultColumns; ++column)
        headings << results->headerItem()->text(column);
    EXPECT_EQ(headings,
              (QStringList{QStringLiteral("穴順"), QStringLiteral("枠番"), QStringLiteral("馬名"),
                           QStringLiteral("穴度"), QStringLiteral("単オッズ")}));
    // Every line is shown whole: no column cuts its widest text.
    for (int row = 0; row < 18; ++row)
        for (int column = 0; column < MainForm::kResultColumns; ++column) {
            const QString text = results->topLevelItem(row)->text(column);
            EXPECT_LE(results->fontMetrics().horizontalAdvance(text), results->columnWidth(column))
                << row << "/" << column;
        }
}

TEST(ResultList, SelectingALineHighlightsItsRowInEveryList) {
    WindowUnderTest app;
    predictEighteen(*app.window);
    QTreeWidget* results = app.window->form().ui().resultList;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app.window.get()));
    results->scrollToBottom();
    // A click on the 穴度 cell of the line ranked 16th.
    const QModelIndex score = results->model()->index(15, MainForm::kScoreColumn);
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, results->visualRect(score).center());
    const QModelIndexList selected = results->selectionModel()->selectedIndexes();
    ASSERT_EQ(selected.size(), MainForm::kResultColumns);
    for (const QModelIndex& index : selected)
        EXPECT_EQ(index.row(), 15);
    EXPECT_EQ(app.window->form().currentRunner(), app.window->session().sheet().result.horseAt(16));
}

} // namespace
} // namespace zelkor::test
