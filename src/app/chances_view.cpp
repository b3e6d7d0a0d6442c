#include "app/chances_view.h"

#include "app/batch_progress.h"
#include "app/qt_text.h"
#include "app/race_session.h"
#include "chances/day_chances.h"
#include "chances/silent_prompt.h"
#include "core/settings.h"
#include "store/jv_store.h"
#include "store/jvdata_store.h"
#include "text/format.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

namespace zelkor {
namespace {

constexpr char16_t kNone[] = u"—";

QString oddsText(int tenths) {
    return tenths > 0 ? toQt(format("%.1f", tenths / 10.0)) : QString::fromUtf16(kNone);
}

QString returnText(double value) {
    return value < 0 ? QString::fromUtf16(kNone) : toQt(format("%.2f", value));
}

QString percentText(double chance) {
    return toQt(format("%.1f%%", 100 * chance));
}

} // namespace

ChancesView::ChancesView(QWidget* parent)
    : QStackedWidget(parent), table_(new QTreeWidget(this)), reason_(new QLabel(this)) {
    setObjectName(QStringLiteral("chancesView"));
    table_->setObjectName(QStringLiteral("chancesTable"));
    table_->setRootIsDecorated(false);
    table_->setUniformRowHeights(true);
    table_->setItemsExpandable(false);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setHeaderLabels({QStringLiteral("馬番"), QStringLiteral("馬名"), QStringLiteral("勝率"),
                             QStringLiteral("複勝率"), QStringLiteral("単勝"),
                             QStringLiteral("複勝(下限)"), QStringLiteral("単勝期待値"),
                             QStringLiteral("複勝期待値"), QStringLiteral("妙味")});
    table_->header()->setStretchLastSection(false);
    table_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    reason_->setObjectName(QStringLiteral("chancesReason"));
    reason_->setWordWrap(true);
    reason_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    reason_->setMargin(6);
    addWidget(table_);
    addWidget(reason_);
    showNotPredicted();
}

void ChancesView::showNotPredicted() {
    showReason(QStringLiteral("取り込んだJV-Dataのレースを予想すると、各馬の勝率と期待値を表示します。"));
}

void ChancesView::showRace(const RaceValues& race) {
    table_->clear();
    QList<QTreeWidgetItem*> items;
    for (const RunnerValue& r : race.runners) {
        auto* item = new QTreeWidgetItem(
            QStringList{QString::number(r.horseNumber), toQt(r.name), percentText(r.winChance),
                        percentText(r.placeChance), oddsText(r.winOdds), oddsText(r.placeOddsLow),
                        returnText(r.winReturn), returnText(r.placeReturn),
                        r.value ? QStringLiteral("◎") : QString()});
        item->setData(kWinColumn, Qt::UserRole, r.winChance);
        item->setData(kPlaceColumn, Qt::UserRole, r.placeChance);
        for (int column = kWinColumn; column <= kPlaceReturnColumn; ++column)
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(kHorseColumn, Qt::AlignRight | Qt::AlignVCenter);
        items.push_back(item);
    }
    table_->addTopLevelItems(items);
    setCurrentWidget(table_);
}

void ChancesView::showReason(const QString& text) {
    table_->clear();
    reason_->setText(text);
    setCurrentWidget(reason_);
}

void showChancesOfRace(QWidget* owner, const RaceSession& session, Shell& shell, ChancesView& view) {
    const int date = session.storeDate();
    if (date == 0) {
        view.showReason(QStringLiteral(
            "取り込んだJV-Dataのレースではないため、勝率と期待値は計算できません。"));
        return;
    }
    const JvRaceCard& card = session.loadedJvRace();
    const std::optional<long long> key =
        raceKeyOf(date, card.courseCode, card.meeting, card.meetingDay, card.raceNumber);
    const std::string store = jvStorePath(session.programFolder());
    const double threshold = valueThresholdOf(session.settings());
    SilentPrompt unused; // the job tells nothing: its failure is the tab's line
    Result<DayValues> day = Failure{};
    runBatchJob(owner, QStringLiteral("勝率を計算中..."), unused, shell,
                [&](UserPrompt&, ProgressSink& progress, Shell&) {
                    day = valuesOfDay(store, date, threshold, progress);
                });
    if (!day) {
        view.showReason(toQt(day.message()));
        return;
    }
    for (const RaceValues& race : day->races)
        if (race.key == key) {
            view.showRace(race);
            return;
        }
    view.showReason(QStringLiteral("このレースは出走馬がそろわないため、勝率を計算できません。"));
}

} // namespace zelkor
