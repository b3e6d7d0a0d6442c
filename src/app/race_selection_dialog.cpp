#include "app/race_selection_dialog.h"

#include "app/dialog_units.h"
#include "app/help.h"
#include "app/qt_text.h"
#include "race/race_card.h"
#include "race/race_info.h"
#include "race/race_source.h"
#include "ui_race_selection_dialog.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <algorithm>

namespace zelkor {

namespace {

// Widths of the four columns in pixels of the classic 13-pixel list font;
// scaled to the font in use.
constexpr int kColumnWidths[] = {40, 50, 40, 300};

} // namespace

RaceSelectionDialog::RaceSelectionDialog(RaceSource& source, UserPrompt& prompt, Shell& shell,
                                         QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::RaceSelectionDialog>()), source_(source),
      prompt_(prompt), shell_(shell) {
    ui_->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    QHeaderView* header = ui_->raceList->header();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setStretchLastSection(true);
    const double scale = std::max(1.0, QFontMetrics(ui_->raceList->font()).height() / 13.0);
    for (int column = 0; column < 4; ++column)
        ui_->raceList->setColumnWidth(column, int(kColumnWidths[column] * scale));

    connect(ui_->raceList, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!selecting_)
            showRaceInfo();
    });
    connect(ui_->raceList, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });
    connect(ui_->selectAllButton, &QPushButton::clicked, this, [this] { selectAllRaces(true); });
    connect(ui_->selectNoneButton, &QPushButton::clicked, this, [this] { selectAllRaces(false); });
    connect(ui_->okButton, &QPushButton::clicked, this, &RaceSelectionDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->newspaperButton, &QPushButton::clicked, this, [this] {
        const std::vector<int> races = selectedRaces();
        if (!races.empty())
            emit newspapersRequested(races);
    });
    connect(ui_->predictAllButton, &QPushButton::clicked, this, [this] {
        const std::vector<int> races = allRaces();
        if (!races.empty())
            emit predictAllRequested(races);
    });

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { openHelp(shell_, kHelpRaceSelection); });

    fillList();
    // The classic proportions, with room for a few more rows and lines.
    resizeWithinScreen(this, dialogUnitsToPixels(this, 294, 209) * 1.2);
}

RaceSelectionDialog::~RaceSelectionDialog() = default;

QTreeWidget* RaceSelectionDialog::raceList() const {
    return ui_->raceList;
}

QString RaceSelectionDialog::raceInfoText() const {
    return ui_->raceInfo->toPlainText();
}

void RaceSelectionDialog::fillList() {
    chosenRace_ = 1;
    const RaceList list = readRaceList(source_, prompt_);
    raceCount_ = list.raceCount;
    for (const RaceListRow& row : list.rows) {
        auto* item = new QTreeWidgetItem(ui_->raceList);
        item->setText(0, toQt(row.monthDay));
        item->setText(1, toQt(row.course));
        item->setText(2, toQt(row.raceNumber));
        item->setText(3, toQt(row.raceName));
    }
    // A race that could not be read ends the list; the dialog keeps its
    // plain caption then, as the count would not match the rows.
    if (int(list.rows.size()) == list.raceCount)
        setWindowTitle(QStringLiteral("予想レース選択 (全 %1 レース)").arg(list.raceCount));
    // Nothing is selected yet; "すべて予想" needs at least one race.
    ui_->newspaperButton->setEnabled(false);
    ui_->okButton->setEnabled(false);
    ui_->predictAllButton->setEnabled(!list.rows.empty());
    ui_->raceInfo->clear();
}

void RaceSelectionDialog::markLoadedRace(int position) {
    QTreeWidgetItem* item = ui_->raceList->topLevelItem(position - 1);
    if (!item)
        return;
    QFont bold = item->font(0);
    bold.setBold(true);
    for (int column = 0; column < ui_->raceList->columnCount(); ++column)
        item->setFont(column, bold);
    ui_->raceList->setCurrentItem(item);
    ui_->raceList->scrollToItem(item);
}

std::vector<int> RaceSelectionDialog::selectedRaces() const {
    std::vector<int> races;
    for (int row = 0; row < ui_->raceList->topLevelItemCount(); ++row) {
        if (ui_->raceList->topLevelItem(row)->isSelected())
            races.push_back(row + 1);
    }
    return races;
}

std::vector<int> RaceSelectionDialog::allRaces() const {
    std::vector<int> races;
    for (int row = 0; row < ui_->raceList->topLevelItemCount(); ++row)
        races.push_back(row + 1);
    return races;
}

int RaceSelectionDialog::selectedCount() const {
    return int(selectedRaces().size());
}

void RaceSelectionDialog::selectAllRaces(bool selected) {
    selecting_ = true;
    if (selected)
        ui_->raceList->selectAll();
    else
        ui_->raceList->clearSelection();
    selecting_ = false;
    ui_->raceList->setFocus();
    updateSelectionState();
}

void RaceSelectionDialog::updateSelectionState() {
    const int count = selectedCount();
    ui_->newspaperButton->setEnabled(count >= 1);
    ui_->okButton->setEnabled(count == 1);
    if (count != 1)
        ui_->raceInfo->clear();
}

// Every change of the selection, by mouse or keyboard, applies the button
// rule and shows the last selected race, so a keyboard user can choose a
// race too.
void RaceSelectionDialog::showRaceInfo() {
    updateSelectionState();
    const std::vector<int> races = selectedRaces();
    if (races.empty())
        return;
    JvRaceCard card;
    if (!source_.readRace(card, races.back(), prompt_))
        return;
    ui_->raceInfo->setPlainText(
        toQt(zelkor::raceInfoText(card)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void RaceSelectionDialog::accept() {
    const std::vector<int> races = selectedRaces();
    if (races.size() != 1)
        return;
    // A race that cannot be loaded (cancelled, Thursday entries) is told
    // here, and the list stays for another choice.
    JvRaceCard card;
    if (!source_.readRace(card, races.front(), prompt_) || !checkRaceLoadable(card, prompt_))
        return;
    chosenRace_ = races.front();
    QDialog::accept();
}

} // namespace zelkor
