// Every window and dialog fits the small screens users have, 1280×800 at
// 150 % and 1024×768 at 100 % (the first is checked where the tests run at
// 1.5 times the size), and every push button carries its mnemonic.
#include "app/about_dialog.h"
#include "app/backtest_period_dialog.h"
#include "app/newspaper_settings_dialog.h"
#include "app/progress_dialog.h"
#include "app/race_selection_dialog.h"
#include "app/store_dates_dialog.h"
#include "app_fakes.h"
#include "dialog_driving.h"

#include <QPushButton>
#include <gtest/gtest.h>

namespace zelkor::test {
namespace {

// What a window may take of the screen at the scale the tests run at, with
// room for the window manager's frame and title.
QSize usableScreen(qreal scale) {
    const QSize screen = scale > 1 ? QSize(1280, 800) : QSize(1024, 768);
    return (QSizeF(screen - QSize(16, 48)) / scale).toSize();
}

void expectFits(QWidget& window) {
    const QSize usable = usableScreen(window.devicePixelRatioF());
    const QSize minimum = window.minimumSizeHint().expandedTo(window.minimumSize());
    EXPECT_LE(minimum.width(), usable.width()) << window.objectName().toStdString();
    EXPECT_LE(minimum.height(), usable.height()) << window.objectName().toStdString();
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        EXPECT_TRUE(button->text().contains(u'&')) << button->text().toStdString();
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

} // namespace
} // namespace zelkor::test
