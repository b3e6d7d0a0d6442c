#include "app/main_form.h"
#include "app/chances_view.h"

#include "app/form_list_box.h"
#include "app/program_style.h"
#include "app/qt_text.h"
#include "app/race_session.h"
#include "app/result_list.h"
#include "core/fixed_lists.h"
#include "core/prediction_file.h"
#include "core/report.h"
#include "ui_main_form.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QTabWidget>
#include <QTreeWidget>
#include <algorithm>

namespace zelkor {

namespace {

// Width of a text in widths of the letter "X", the unit of a box's
// contents length: a full-width character is about 1.6 of them, any other
// (half-width kana included) a little less than one.
int textUnits(const QString& text) {
    int tenths = 0;
    for (QChar c : text)
        tenths +=
            c.unicode() >= 0x2e80 && !(c.unicode() >= 0xff61 && c.unicode() <= 0xff9f) ? 16 : 9;
    return (tenths + 9) / 10;
}

// Fills a box of the form with its fixed list. Chosen entries show their
// digits half-width, so every entry of a list looks alike and typing a
// number finds it; a typed box keeps its suggestions as the sheet holds them.
QComboBox* fillBox(QComboBox* box, TextList entries) {
    QStringList items;
    int longest = 1;
    for (std::string_view e : entries) {
        items << (box->isEditable() ? toQt(e) : halfWidthDigits(toQt(e)));
        longest = std::max(longest, textUnits(items.back()));
    }
    box->addItems(items);
    box->setMaxVisibleItems(20);
    // Sized from the longest entry's length (see FormListBox), not by
    // measuring every entry in the font (which made the start slow).
    box->setMinimumContentsLength(longest);
    return box;
}

// Shows entry `index`, or no entry when the index is outside the list.
void showIndex(QComboBox* box, int index) {
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

// The selected position, or `current` when the box shows no entry, so that
// an emptied box never writes −1 into the sheet.
int readIndex(const QComboBox* box, int current) {
    return box->currentIndex() >= 0 ? box->currentIndex() : current;
}

// The list position of a sheet value: the number itself, or a named
// choice's position.
template <class T> int positionOf(T value) {
    if constexpr (std::is_enum_v<T>)
        return listIndex(value);
    else
        return value;
}

// Where a box's position lives in the sheet: a field of the race, of the
// runner shown, or of one of its past runs, read and written as a position.
struct Field {
    int (*get)(const RaceSheet&, int horse);
    void (*set)(RaceSheet&, int horse, int position);
};

template <class Value> Value valueAt(int position) {
    return static_cast<Value>(position);
}

template <auto F> constexpr Field raceField = {
    [](const RaceSheet& s, int) { return positionOf(s.*F); },
    [](RaceSheet& s, int, int p) { s.*F = valueAt<std::remove_cvref_t<decltype(s.*F)>>(p); }};

template <auto F> constexpr Field runnerField = {
    [](const RaceSheet& s, int horse) { return positionOf(s.runner(horse).*F); },
    [](RaceSheet& s, int horse, int p) {
        s.runner(horse).*F = valueAt<std::remove_cvref_t<decltype(s.runner(horse).*F)>>(p);
    }};

template <size_t Run, auto F> constexpr Field pastRunField = {
    [](const RaceSheet& s, int horse) { return positionOf(s.runner(horse).pastRuns[Run].*F); },
    [](RaceSheet& s, int horse, int p) {
        auto& value = s.runner(horse).pastRuns[Run].*F;
        value = valueAt<std::remove_cvref_t<decltype(value)>>(p);
    }};

// The field size is shown as its position in the list of sizes.
constexpr Field kFieldSizeField = {
    [](const RaceSheet& s, int) { return fieldSizeIndexOf(s.runnerCount); },
    [](RaceSheet& s, int, int p) { s.runnerCount = fieldSizeRunners(p); }};

// The field in each of the two past-run rows.
template <auto F> constexpr std::array<Field, 2> kPastRunFields = {pastRunField<0, F>,
                                                                   pastRunField<1, F>};

} // namespace

// A box of the form, its fixed list, and the sheet field that holds its
// position plus `offset`: what the form shows and what it hands to the
// session.
struct MainForm::Binding {
    QComboBox* box;
    TextList list;
    Field field;
    int offset = 0;

    void show(const RaceSheet& sheet, int horse) const {
        showIndex(box, field.get(sheet, horse) - offset);
    }
    void read(RaceSheet& sheet, int horse) const {
        field.set(sheet, horse, readIndex(box, field.get(sheet, horse) - offset) + offset);
    }
};

MainForm::MainForm(RaceSession& session, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::MainForm>()), session_(session) {
    installProgramStyle();
    ui_->setupUi(this);
    bindControls();
    setUpResults();
    connectRules();
    showSheet();
}

MainForm::~MainForm() = default;

void MainForm::bindControls() {
    Ui::MainForm& u = *ui_;
    fillBox(u.racecourseBox, kRacecourseList);
    fillBox(u.raceNameBox, kRaceNameSuggestions)->setMinimumContentsLength(18);
    // Japanese names are typed through the input method.
    u.nameBox->setAttribute(Qt::WA_InputMethodEnabled, true);
    bindings_ = {
        {u.raceNumberBox, kRaceNumberList, raceField<&RaceSheet::raceNumber>, 1},
        {u.gradeBox, kClassList, raceField<&RaceSheet::grade>},
        {u.ageLimitBox, kAgeLimitList, raceField<&RaceSheet::ageLimit>},
        {u.sexLimitBox, kSexLimitList, raceField<&RaceSheet::sexLimit>},
        {u.weightRuleBox, kWeightRuleList, raceField<&RaceSheet::weightRule>},
        {u.surfaceBox, kSurfaceList, raceField<&RaceSheet::surface>},
        {u.distanceBox, kDistanceList, raceField<&RaceSheet::distance>},
        {u.fieldSizeBox, kFieldSizeList, kFieldSizeField},
        {u.sexBox, kSexList, runnerField<&RunnerEntry::sex>},
        {u.ageBox, kRunnerAgeList, runnerField<&RunnerEntry::age>},
        {u.weightBox, kWeightList, runnerField<&RunnerEntry::weight>},
        {u.styleBox, kRunningStyleList, runnerField<&RunnerEntry::runningStyle>},
        {u.aptitudeBox, kDistanceList, runnerField<&RunnerEntry::aptitudeDistance>},
        {u.oddsBox, kOddsBandList, runnerField<&RunnerEntry::oddsBand>},
    };

    pastRows_ = {{{u.pastKindBox0, u.pastFinishBox0, u.pastFieldSizeBox0, u.pastPopularityBox0,
                   u.pastDistanceBox0, u.pastClassBox0, u.pastWeightBox0, u.pastTimeDiffBox0},
                  {u.pastKindBox1, u.pastFinishBox1, u.pastFieldSizeBox1, u.pastPopularityBox1,
                   u.pastDistanceBox1, u.pastClassBox1, u.pastWeightBox1, u.pastTimeDiffBox1}}};
    const struct {
        TextList list;
        std::array<Field, 2> fields;
    } pastColumns[] = {
        {kPastRunKindList, kPastRunFields<&PastRun::kind>},
        {kPastFinishList, kPastRunFields<&PastRun::finish>},
        {kPastFieldSizeList, kPastRunFields<&PastRun::fieldSize>},
        {kPastPopularityList, kPastRunFields<&PastRun::popularity>},
        {kDistanceList, kPastRunFields<&PastRun::distance>},
        {kClassList, kPastRunFields<&PastRun::raceClass>},
        {kWeightList, kPastRunFields<&PastRun::weight>},
        {kTimeDiffList, kPastRunFields<&PastRun::timeDiff>},
    };
    for (size_t row = 0; row < pastRows_.size(); ++row)
        for (size_t column = 0; column < std::size(pastColumns); ++column)
            bindings_.push_back({pastRows_[row][column], pastColumns[column].list,
                                 pastColumns[column].fields[row]});
    for (const Binding& b : bindings_)
        fillBox(b.box, b.list);
}

void MainForm::setUpResults() {
    // One row per ranking position; a click anywhere in a row selects the
    // whole row, which is the selection of every list at once.
    QTreeWidget* results = ui_->resultList;
    QHeaderView* header = results->header();
    header->setSectionsMovable(false);
    header->setSectionsClickable(false);
    // Each column as wide as its widest possible line and the item's margins.
    const QFontMetrics metrics(results->font());
    const QString widest[] = {QStringLiteral("穴順 "), QStringLiteral("8枠18番"),
                              QStringLiteral("アアアアアアアアアア"), QStringLiteral("穴度 "),
                              QStringLiteral("10.1～15.0")};
    for (int column = 0; column < kResultColumns; ++column) {
        header->setSectionResizeMode(column, QHeaderView::Fixed);
        results->setColumnWidth(column, metrics.horizontalAdvance(widest[column]) + 10);
    }
    // The header's own measure sets its titles in bold, which loaded two
    // bold fonts before the window could first be shown; its titles are
    // shown in the list's font, so they are measured in it.
    QStyleOptionHeader title;
    title.initFrom(header);
    for (int column = 0; column < kResultColumns; ++column) {
        title.text = results->headerItem()->text(column);
        const QSize size =
            header->style()->sizeFromContents(QStyle::CT_HeaderSection, &title, QSize(), header);
        results->headerItem()->setSizeHint(column,
                                           QSize(results->columnWidth(column), size.height()));
    }
    results->headerItem()->setTextAlignment(kPositionColumn, Qt::AlignRight | Qt::AlignVCenter);
    results->headerItem()->setTextAlignment(kScoreColumn, Qt::AlignRight | Qt::AlignVCenter);
    int width = results->verticalScrollBar()->sizeHint().width() + 2 * results->frameWidth();
    for (int column = 0; column < kResultColumns; ++column)
        width += results->columnWidth(column);
    results->setFixedWidth(width);

    // The chances share the ranking's place as a tab beside it; the tab
    // scrolls sideways rather than widen the window.
    auto* tabs = new QTabWidget(ui_->predictionGroup);
    tabs->setObjectName(QStringLiteral("rankingTabs"));
    delete ui_->predictionRow->replaceWidget(results, tabs);
    tabs->addTab(results, QStringLiteral("穴順"));
    chances_ = new ChancesView(tabs);
    tabs->addTab(chances_, QStringLiteral("勝率・期待値"));
}

QWidget* MainForm::takePrediction() {
    Ui::MainForm& u = *ui_;
    u.formLayout->removeWidget(u.predictionGroup);
    u.formLayout->addStretch(1);
    u.predictionRow->setDirection(QBoxLayout::TopToBottom);
    u.predictionRow->setContentsMargins(0, 0, 0, 0);
    // The window it goes to bears the title.
    u.predictionGroup->setTitle(QString());
    u.predictionGroup->setFlat(true);
    return u.predictionGroup;
}

void MainForm::connectRules() {
    const Ui::MainForm& u = *ui_;
    // Commit on leaving: every box of the form, the name box included.
    for (QWidget* w : {static_cast<QWidget*>(u.racecourseBox), static_cast<QWidget*>(u.raceNameBox),
                       static_cast<QWidget*>(u.nameBox)})
        w->installEventFilter(this);
    for (const Binding& b : bindings_)
        b.box->installEventFilter(this);

    connect(u.raceNameBox, &QComboBox::activated, this, &MainForm::onRacePresetChosen);
    connect(u.fieldSizeBox, &QComboBox::activated, this, &MainForm::onFieldSizeChanged);
    connect(u.sexLimitBox, &QComboBox::activated, this, &MainForm::onSexLimitChanged);
    connect(u.ageLimitBox, &QComboBox::activated, this, &MainForm::onAgeLimitChanged);
    for (int row = 0; row < 2; ++row) {
        const auto& boxes = pastRows_[size_t(row)];
        for (QComboBox* box : {boxes[0], boxes[1]}) // the kind and the finish
            connect(box, &QComboBox::currentIndexChanged, this,
                    [this, row] { updatePastRunStates(row); });
    }
    connect(u.nameBox, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QScopedValueRollback writing(writing_, true);
        session_.setRunnerName(runner_, toCp932(text));
    });
    connect(u.nextButton, &QPushButton::clicked, this, &MainForm::onNextRunner);
    connect(u.previousButton, &QPushButton::clicked, this, &MainForm::onPreviousRunner);
    connect(u.resultList, &QTreeWidget::itemSelectionChanged, this, &MainForm::onResultSelection);

    connect(&session_, &RaceSession::sheetReplaced, this, [this] { showRunner(1); });
    connect(&session_, &RaceSession::sheetEdited, this, [this] {
        if (!writing_)
            showSheet();
    });
    connect(&session_, &RaceSession::runnerChosen, this, &MainForm::showRunner);
}

void MainForm::detach() {
    detached_ = true;
}

bool MainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !detached_) {
        // Opening a box's own list is not leaving the box, even where the
        // window system reports the open list as the window losing focus.
        auto* focus = static_cast<QFocusEvent*>(event);
        if (focus->reason() != Qt::PopupFocusReason && !QApplication::activePopupWidget())
            onLeaving(watched);
    }
    return QWidget::eventFilter(watched, event);
}

void MainForm::keyPressEvent(QKeyEvent* event) {
    // 次の馬 is the form's default button: Enter moves to the next runner.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        ui_->nextButton->isEnabled()) {
        ui_->nextButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainForm::onLeaving(QObject* box) {
    if (box == ui_->fieldSizeBox) {
        commit();
        showRunner(1);
        return;
    }
    // The caption shows the name as the sheet will hold it.
    if (box == ui_->raceNameBox)
        emit raceNameLeft(toQt(toCp932(ui_->raceNameBox->currentText())));
    commit();
}

void MainForm::enterForm() {
    const Ui::MainForm& u = *ui_;
    RaceSheet entered = session_.sheet();
    if (u.racecourseBox->currentIndex() >= 0)
        entered.racecourse = toCp932(u.racecourseBox->currentText());
    entered.raceName = readText(u.raceNameBox->lineEdit(), QStringLiteral("レース名"));
    entered.runner(runner_).name = readText(u.nameBox, QStringLiteral("馬名"));
    for (const Binding& b : bindings_)
        b.read(entered, runner_);
    const QScopedValueRollback writing(writing_, true);
    session_.setRaceFields(entered);
    session_.setRunner(runner_, entered.runner(runner_));
}

void MainForm::showRunner(int horse) {
    const Ui::MainForm& u = *ui_;
    runner_ = horse;
    RaceSheet shown = session_.sheet();
    // The box shows the entry the prediction file would record; an empty
    // racecourse selects nothing.
    showIndex(u.racecourseBox, racecoursePosition(shown.racecourse).value_or(-1));
    // A name that is one of the suggestions selects it, so the arrow keys
    // carry on from there.
    const QString raceName = toQt(shown.raceName);
    u.raceNameBox->setCurrentIndex(u.raceNameBox->findText(raceName, Qt::MatchExactly));
    u.raceNameBox->setEditText(raceName);
    u.nameBox->setText(toQt(shown.runner(horse).name));
    for (const Binding& b : bindings_)
        b.show(shown, horse);
    u.runnerLabel->setText(toQt(runnerLabel(shown, horse)));
    updateNavigation();
    updatePastRunStates(0);
    updatePastRunStates(1);
}

std::string MainForm::readText(QLineEdit* edit, const QString& heading) {
    const QString shown = edit->text();
    std::string stored = toCp932(shown);
    const QString kept = toQt(stored);
    if (kept != shown) {
        // The box shows what the sheet, the page and the file will hold.
        edit->setText(kept);
        emit textReplaced(heading, kept);
    }
    return stored;
}

void MainForm::commit() {
    enterForm();
    emit committed();
}

void MainForm::updateNavigation() {
    const int count = session_.sheet().runnerCount;
    ui_->previousButton->setEnabled(runner_ > 1);
    ui_->nextButton->setEnabled(runner_ < count && runner_ < kMaxRunners);
}

void MainForm::updatePastRunStates(int row) {
    const auto& boxes = pastRows_[size_t(row)];
    QComboBox* finish = boxes[1];
    const bool raced = boxes[0]->currentIndex() <= 0; // レース, or nothing shown
    for (size_t column = 1; column < boxes.size(); ++column)
        boxes[column]->setEnabled(raced);
    if (raced && finish->currentIndex() == 0) // the winner has no time difference
        boxes.back()->setEnabled(false);
}

void MainForm::onRacePresetChosen(int suggestion) {
    enterForm();
    // The preset shows through the session's sheetEdited.
    if (session_.chooseRacePreset(suggestion))
        commit();
}

void MainForm::onFieldSizeChanged(int index) {
    // Takes effect at once for navigation; the form is committed on leaving.
    const QScopedValueRollback writing(writing_, true);
    session_.setFieldSize(fieldSizeRunners(index));
    updateNavigation();
}

void MainForm::onSexLimitChanged(int index) {
    const QScopedValueRollback writing(writing_, true);
    session_.setSexLimit(index);
    showIndex(ui_->sexBox, positionOf(session_.sheet().runner(runner_).sex));
}

void MainForm::onAgeLimitChanged(int index) {
    const QScopedValueRollback writing(writing_, true);
    if (session_.setAgeLimit(index))
        showIndex(ui_->ageBox, session_.sheet().runner(runner_).age);
    else
        ui_->ageBox->setCurrentIndex(-1);
}

void MainForm::onNextRunner() {
    commit();
    if (runner_ >= session_.sheet().liveRunnerCount || runner_ >= kMaxRunners)
        return;
    showRunner(runner_ + 1);
    ui_->nameBox->setFocus(Qt::OtherFocusReason);
}

void MainForm::onPreviousRunner() {
    commit();
    if (runner_ <= 1)
        return;
    showRunner(runner_ - 1);
}

void MainForm::onResultSelection() {
    if (syncingLists_)
        return;
    QTreeWidget* results = ui_->resultList;
    const QList<QTreeWidgetItem*> selected = results->selectedItems();
    const int line = selected.isEmpty() ? -1 : results->indexOfTopLevelItem(selected.first());
    emit resultSelected(line);
}

void MainForm::showPrediction(const PredictionCommands& commands, unsigned changes) {
    QTreeWidget* results = ui_->resultList;
    syncingLists_ = true;
    if (changes & PredictionCommands::Lists) {
        const ResultLines& lines = commands.lines();
        const std::vector<std::string>* columns[kResultColumns] = {
            &lines.positions, &lines.brackets, &lines.names, &lines.scores, &lines.odds};
        size_t rows = lines.positions.size();
        for (const std::vector<std::string>* column : columns)
            rows = std::min(rows, column->size());
        results->clear();
        QList<QTreeWidgetItem*> items;
        for (size_t row = 0; row < rows; ++row) {
            auto* item = new QTreeWidgetItem;
            for (int column = 0; column < kResultColumns; ++column)
                item->setText(column, toQt((*columns[column])[row]));
            item->setTextAlignment(kPositionColumn, Qt::AlignRight | Qt::AlignVCenter);
            item->setTextAlignment(kScoreColumn, Qt::AlignRight | Qt::AlignVCenter);
            items << item;
        }
        results->addTopLevelItems(items);
    }
    if (changes & (PredictionCommands::Selection | PredictionCommands::Lists)) {
        QTreeWidgetItem* item = results->topLevelItem(commands.selection());
        if (item) {
            results->setCurrentItem(item);
            results->scrollToItem(item);
        } else {
            results->clearSelection();
            results->setCurrentItem(nullptr);
        }
    }
    syncingLists_ = false;
    if (changes & PredictionCommands::Report) {
        QString text = toQt(commands.reportText());
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        ui_->reportPane->setPlainText(text);
    }
}

} // namespace zelkor
