#include "app/main_form.h"

#include "app/form_list_box.h"
#include "app/program_style.h"
#include "app/qt_text.h"
#include "app/result_list.h"
#include "core/fixed_lists.h"
#include "core/prediction_file.h"
#include "core/race_presets.h"
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
#include <QScrollBar>
#include <QStyleOptionHeader>
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

// Named choices are shown and read by their list position too.
template <class E>
requires std::is_enum_v<E>
void showIndex(QComboBox* box, E value) {
    showIndex(box, listIndex(value));
}
template <class E>
requires std::is_enum_v<E> E readIndex(const QComboBox* box, E current) {
    return static_cast<E>(readIndex(box, listIndex(current)));
}

} // namespace

MainForm::MainForm(RaceSheet& sheet, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::MainForm>()), sheet_(sheet) {
    installProgramStyle();
    ui_->setupUi(this);
    takeControls();
    setUpResults();
    connectRules();
    sheetToForm();
}

MainForm::~MainForm() = default;

void MainForm::takeControls() {
    Ui::MainForm& u = *ui_;
    c_.racecourse = fillBox(u.racecourseBox, kRacecourseList);
    c_.raceNumber = fillBox(u.raceNumberBox, kRaceNumberList);
    c_.raceName = fillBox(u.raceNameBox, kRaceNameSuggestions);
    c_.raceName->setMinimumContentsLength(18);
    c_.grade = fillBox(u.gradeBox, kClassList);
    c_.ageLimit = fillBox(u.ageLimitBox, kAgeLimitList);
    c_.sexLimit = fillBox(u.sexLimitBox, kSexLimitList);
    c_.weightRule = fillBox(u.weightRuleBox, kWeightRuleList);
    c_.surface = fillBox(u.surfaceBox, kSurfaceList);
    c_.distance = fillBox(u.distanceBox, kDistanceList);
    c_.fieldSize = fillBox(u.fieldSizeBox, kFieldSizeList);

    c_.runnerLabel = u.runnerLabel;
    c_.name = u.nameBox;
    // Japanese names are typed through the input method.
    c_.name->setAttribute(Qt::WA_InputMethodEnabled, true);
    c_.sex = fillBox(u.sexBox, kSexList);
    c_.age = fillBox(u.ageBox, kRunnerAgeList);
    c_.weight = fillBox(u.weightBox, kWeightList);
    c_.style = fillBox(u.styleBox, kRunningStyleList);
    c_.aptitude = fillBox(u.aptitudeBox, kDistanceList);
    c_.odds = fillBox(u.oddsBox, kOddsBandList);

    const std::array<PastRunBoxes, 2> rows = {
        PastRunBoxes{u.pastKindBox0, u.pastFinishBox0, u.pastFieldSizeBox0, u.pastPopularityBox0,
                     u.pastDistanceBox0, u.pastClassBox0, u.pastWeightBox0, u.pastTimeDiffBox0},
        PastRunBoxes{u.pastKindBox1, u.pastFinishBox1, u.pastFieldSizeBox1, u.pastPopularityBox1,
                     u.pastDistanceBox1, u.pastClassBox1, u.pastWeightBox1, u.pastTimeDiffBox1}};
    for (size_t row = 0; row < rows.size(); ++row) {
        PastRunBoxes& b = c_.pastRuns[row];
        b.kind = fillBox(rows[row].kind, kPastRunKindList);
        b.finish = fillBox(rows[row].finish, kPastFinishList);
        b.fieldSize = fillBox(rows[row].fieldSize, kPastFieldSizeList);
        b.popularity = fillBox(rows[row].popularity, kPastPopularityList);
        b.distance = fillBox(rows[row].distance, kDistanceList);
        b.raceClass = fillBox(rows[row].raceClass, kClassList);
        b.weight = fillBox(rows[row].weight, kWeightList);
        b.timeDiff = fillBox(rows[row].timeDiff, kTimeDiffList);
    }
    c_.next = u.nextButton;
    c_.previous = u.previousButton;
    c_.results = u.resultList;
    c_.report = u.reportPane;
}

void MainForm::setUpResults() {
    // One row per ranking position; a click anywhere in a row selects the
    // whole row, which is the selection of every list at once.
    QTreeWidget* results = c_.results;
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
    // Commit on leaving: every box of the form, the name box included.
    QWidget* leaving[] = {c_.racecourse, c_.raceNumber, c_.raceName, c_.grade,    c_.ageLimit,
                          c_.sexLimit,   c_.weightRule, c_.surface,  c_.distance, c_.fieldSize,
                          c_.name,       c_.sex,        c_.age,      c_.weight,   c_.style,
                          c_.aptitude,   c_.odds};
    for (QWidget* w : leaving)
        w->installEventFilter(this);
    for (PastRunBoxes& b : c_.pastRuns) {
        for (QComboBox* box : {b.kind, b.finish, b.fieldSize, b.popularity, b.distance, b.raceClass,
                               b.weight, b.timeDiff})
            box->installEventFilter(this);
    }

    connect(c_.raceName, &QComboBox::activated, this, &MainForm::onRacePresetChosen);
    connect(c_.fieldSize, &QComboBox::activated, this, &MainForm::onFieldSizeChanged);
    connect(c_.sexLimit, &QComboBox::activated, this, &MainForm::onSexLimitChanged);
    connect(c_.ageLimit, &QComboBox::activated, this, &MainForm::onAgeLimitChanged);
    for (int row = 0; row < 2; ++row) {
        const PastRunBoxes& b = c_.pastRuns[size_t(row)];
        connect(b.kind, &QComboBox::currentIndexChanged, this,
                [this, row] { updatePastRunStates(row); });
        connect(b.finish, &QComboBox::currentIndexChanged, this,
                [this, row] { updatePastRunStates(row); });
    }
    connect(c_.name, &QLineEdit::textEdited, this, [this](const QString& text) {
        sheet_.runner(sheet_.currentRunner).name = toCp932(text);
        emit nameEdited();
    });
    connect(c_.next, &QPushButton::clicked, this, &MainForm::onNextRunner);
    connect(c_.previous, &QPushButton::clicked, this, &MainForm::onPreviousRunner);

    connect(c_.results, &QTreeWidget::itemSelectionChanged, this, &MainForm::onResultSelection);
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
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && c_.next->isEnabled()) {
        c_.next->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainForm::onLeaving(QObject* box) {
    if (box == c_.fieldSize) {
        commit();
        sheet_.currentRunner = 1;
        sheetToForm();
        return;
    }
    // The caption shows the name as the sheet will hold it.
    if (box == c_.raceName)
        emit raceNameLeft(toQt(toCp932(c_.raceName->currentText())));
    commit();
}

void MainForm::formToSheet() {
    RaceSheet& s = sheet_;
    if (c_.racecourse->currentIndex() >= 0)
        s.racecourse = toCp932(c_.racecourse->currentText());
    s.raceNumber = readIndex(c_.raceNumber, s.raceNumber - 1) + 1;
    s.raceName = readText(c_.raceName->lineEdit(), QStringLiteral("レース名"));
    s.grade = readIndex(c_.grade, s.grade);
    s.ageLimit = readIndex(c_.ageLimit, s.ageLimit);
    s.sexLimit = readIndex(c_.sexLimit, s.sexLimit);
    s.weightRule = readIndex(c_.weightRule, s.weightRule);
    s.surface = readIndex(c_.surface, s.surface);
    s.distance = readIndex(c_.distance, s.distance);
    s.runnerCount = readIndex(c_.fieldSize, s.runnerCount - 4) + 4;
    s.liveRunnerCount = s.runnerCount;

    RunnerEntry& r = s.runner(s.currentRunner);
    r.name = readText(c_.name, QStringLiteral("馬名"));
    r.sex = readIndex(c_.sex, r.sex);
    r.age = readIndex(c_.age, r.age);
    r.weight = readIndex(c_.weight, r.weight);
    r.runningStyle = readIndex(c_.style, r.runningStyle);
    r.aptitudeDistance = readIndex(c_.aptitude, r.aptitudeDistance);
    r.oddsBand = readIndex(c_.odds, r.oddsBand);
    for (size_t i = 0; i < 2; ++i) {
        const PastRunBoxes& b = c_.pastRuns[i];
        PastRun& p = r.pastRuns[i];
        p.kind = readIndex(b.kind, p.kind);
        p.finish = readIndex(b.finish, p.finish);
        p.fieldSize = readIndex(b.fieldSize, p.fieldSize);
        p.popularity = readIndex(b.popularity, p.popularity);
        p.distance = readIndex(b.distance, p.distance);
        p.raceClass = readIndex(b.raceClass, p.raceClass);
        p.weight = readIndex(b.weight, p.weight);
        p.timeDiff = readIndex(b.timeDiff, p.timeDiff);
    }
}

void MainForm::sheetToForm() {
    const RaceSheet& s = sheet_;
    // The box shows the entry the prediction file would record; an empty
    // racecourse selects nothing.
    showIndex(c_.racecourse, racecoursePosition(s.racecourse));
    showIndex(c_.raceNumber, s.raceNumber - 1);
    // A name that is one of the suggestions selects it, so the arrow keys
    // carry on from there.
    const QString raceName = toQt(s.raceName);
    c_.raceName->setCurrentIndex(c_.raceName->findText(raceName, Qt::MatchExactly));
    c_.raceName->setEditText(raceName);
    showIndex(c_.grade, s.grade);
    showIndex(c_.ageLimit, s.ageLimit);
    showIndex(c_.sexLimit, s.sexLimit);
    showIndex(c_.weightRule, s.weightRule);
    showIndex(c_.surface, s.surface);
    showIndex(c_.distance, s.distance);
    showIndex(c_.fieldSize, s.runnerCount - 4);
    if (c_.fieldSize->currentIndex() >= 0)
        sheet_.liveRunnerCount = c_.fieldSize->currentIndex() + 4;

    const RunnerEntry& r = s.runner(s.currentRunner);
    c_.name->setText(toQt(r.name));
    showIndex(c_.sex, r.sex);
    showIndex(c_.age, r.age);
    showIndex(c_.weight, r.weight);
    showIndex(c_.style, r.runningStyle);
    showIndex(c_.aptitude, r.aptitudeDistance);
    showIndex(c_.odds, r.oddsBand);
    for (size_t i = 0; i < 2; ++i) {
        const PastRunBoxes& b = c_.pastRuns[i];
        const PastRun& p = r.pastRuns[i];
        showIndex(b.kind, p.kind);
        showIndex(b.finish, p.finish);
        showIndex(b.fieldSize, p.fieldSize);
        showIndex(b.popularity, p.popularity);
        showIndex(b.distance, p.distance);
        showIndex(b.raceClass, p.raceClass);
        showIndex(b.weight, p.weight);
        showIndex(b.timeDiff, p.timeDiff);
    }
    c_.runnerLabel->setText(toQt(runnerLabel(sheet_)));
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
    formToSheet();
    emit committed();
}

void MainForm::updateNavigation() {
    const int current = sheet_.currentRunner;
    c_.previous->setEnabled(current > 1);
    c_.next->setEnabled(current < sheet_.runnerCount && current < kMaxRunners);
}

void MainForm::updatePastRunStates(int row) {
    const PastRunBoxes& b = c_.pastRuns[size_t(row)];
    const bool raced = b.kind->currentIndex() <= 0; // レース, or nothing shown
    for (QComboBox* box :
         {b.finish, b.fieldSize, b.popularity, b.distance, b.raceClass, b.weight, b.timeDiff})
        box->setEnabled(raced);
    if (raced && b.finish->currentIndex() == 0) // the winner has no time difference
        b.timeDiff->setEnabled(false);
}

void MainForm::onRacePresetChosen(int suggestion) {
    formToSheet();
    if (!applyRacePreset(sheet_, suggestion))
        return;
    applySexLimitRule(sheet_);
    applyAgeLimitRule(sheet_);
    sheetToForm();
    commit();
}

void MainForm::onFieldSizeChanged(int index) {
    // Takes effect at once for navigation; the form is committed on leaving.
    sheet_.runnerCount = index + 4;
    sheet_.liveRunnerCount = index + 4;
    updateNavigation();
}

void MainForm::onSexLimitChanged(int index) {
    sheet_.sexLimit = index;
    applySexLimitRule(sheet_);
    showIndex(c_.sex, sheet_.runner(sheet_.currentRunner).sex);
}

void MainForm::onAgeLimitChanged(int index) {
    sheet_.ageLimit = index;
    if (applyAgeLimitRule(sheet_))
        showIndex(c_.age, sheet_.runner(sheet_.currentRunner).age);
    else
        c_.age->setCurrentIndex(-1);
}

void MainForm::onNextRunner() {
    commit();
    if (sheet_.currentRunner >= sheet_.liveRunnerCount || sheet_.currentRunner >= kMaxRunners)
        return;
    ++sheet_.currentRunner;
    sheetToForm();
    c_.name->setFocus(Qt::OtherFocusReason);
}

void MainForm::onPreviousRunner() {
    commit();
    if (sheet_.currentRunner <= 1)
        return;
    --sheet_.currentRunner;
    sheetToForm();
}

void MainForm::onResultSelection() {
    if (syncingLists_)
        return;
    const QList<QTreeWidgetItem*> selected = c_.results->selectedItems();
    const int line = selected.isEmpty() ? -1 : c_.results->indexOfTopLevelItem(selected.first());
    emit resultSelected(line);
}

void MainForm::showPrediction(const PredictionCommands& commands, unsigned changes) {
    QTreeWidget* results = c_.results;
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
        c_.report->setPlainText(text);
    }
    if (changes & PredictionCommands::Runner)
        sheetToForm();
}

} // namespace zelkor
