#include "app/newspaper_settings_dialog.h"

#include "app/dialog_units.h"
#include "app/help.h"
#include "app/qt_text.h"
#include "app/shell_address.h"
#include "ui_newspaper_settings_dialog.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTextCursor>

namespace zelkor {

namespace {

const char16_t* const kPastRunItems[] = {u"１", u"２", u"３", u"４", u"５"};

// The address fields wrap long addresses but hold one line: a line break
// typed or pasted into them would end up inside every horse-name link.
void keepOnOneLine(QPlainTextEdit* edit) {
    const QString text = edit->toPlainText();
    if (!text.contains(u'\n') && !text.contains(u'\r'))
        return;
    QTextCursor cursor = edit->textCursor();
    const int before =
        text.left(cursor.position()).count(u'\n') + text.left(cursor.position()).count(u'\r');
    const int position = cursor.position() - before;
    QString joined = text;
    joined.remove(u'\r');
    joined.remove(u'\n');
    edit->setPlainText(joined);
    cursor = edit->textCursor();
    cursor.setPosition(std::min<int>(position, int(joined.size())));
    edit->setTextCursor(cursor);
}

} // namespace

NewspaperSettingsDialog::NewspaperSettingsDialog(AppSettings& settings, Shell& shell,
                                                 std::string programFolder, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::NewspaperSettingsDialog>()), settings_(settings),
      shell_(shell), programFolder_(std::move(programFolder)) {
    ui_->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    for (const char16_t* text : kPastRunItems)
        ui_->pastRuns->addItem(QString::fromUtf16(text));

    ui_->sportsImages->setChecked(settings_.sportsShowImages != 0);
    ui_->sportsLinkNames->setChecked(settings_.sportsLinkNames != 0);
    ui_->paperImages->setChecked(settings_.paperShowImages != 0);
    ui_->paperLinkNames->setChecked(settings_.paperLinkNames != 0);
    ui_->paperHowToRead->setChecked(settings_.paperHowToRead != 0);

    // Out-of-range values are corrected in the settings at once.
    if (settings_.paperEdition < 1 || settings_.paperEdition > 3)
        settings_.paperEdition = 1;
    ui_->simpleEdition->setChecked(settings_.paperEdition == 1);
    ui_->detailedEdition->setChecked(settings_.paperEdition == 2);
    ui_->resultsEdition->setChecked(settings_.paperEdition == 3);
    if (settings_.paperPastRuns < 1)
        settings_.paperPastRuns = 1;
    // More than five runs leaves the list without a choice.
    ui_->pastRuns->setCurrentIndex(settings_.paperPastRuns <= 5 ? settings_.paperPastRuns - 1 : -1);
    ui_->pastRuns->setEnabled(settings_.paperEdition == 3);

    ui_->url1->setPlainText(toQt(settings_.dbUrl1));
    ui_->testName->setText(toQt(settings_.dbTestName));
    ui_->url2->setPlainText(toQt(settings_.dbUrl2));
    updateTestAddress();
    ui_->tabs->setCurrentIndex(0);

    // Only the edition with results shows past runs.
    connect(ui_->resultsEdition, &QRadioButton::toggled, ui_->pastRuns, &QWidget::setEnabled);
    connect(ui_->url1, &QPlainTextEdit::textChanged, this, [this] {
        keepOnOneLine(ui_->url1);
        updateTestAddress();
    });
    connect(ui_->url2, &QPlainTextEdit::textChanged, this, [this] {
        keepOnOneLine(ui_->url2);
        updateTestAddress();
    });
    connect(ui_->testName, &QLineEdit::textChanged, this,
            &NewspaperSettingsDialog::updateTestAddress);
    connect(ui_->resetAddressButton, &QPushButton::clicked, this,
            &NewspaperSettingsDialog::resetAddress);
    connect(ui_->connectionTestButton, &QPushButton::clicked, this,
            &NewspaperSettingsDialog::connectionTest);
    connect(ui_->okButton, &QPushButton::clicked, this, &NewspaperSettingsDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    ui_->url1->installEventFilter(this);
    ui_->url2->installEventFilter(this);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [this] { openHelp(shell_, kHelpNewspaperSettings); });

    const QSize edit = dialogUnitsToPixels(this, 182, 32);
    ui_->url1->setFixedHeight(edit.height());
    ui_->url2->setFixedHeight(edit.height());
    ui_->testAddress->setFixedHeight(dialogUnitsToPixels(this, 182, 44).height());
    ui_->url1->setMinimumWidth(edit.width());
    resizeWithinScreen(this, dialogUnitsToPixels(this, 247, 199).expandedTo(sizeHint()));
}

NewspaperSettingsDialog::~NewspaperSettingsDialog() = default;

QString NewspaperSettingsDialog::testAddress() const {
    return ui_->testAddress->toPlainText();
}

void NewspaperSettingsDialog::updateTestAddress() {
    ui_->testAddress->setPlainText(ui_->url1->toPlainText() + ui_->testName->text() +
                                   ui_->url2->toPlainText());
}

void NewspaperSettingsDialog::resetAddress() {
    // The test name stays as typed.
    ui_->url1->setPlainText(toQt(defaultSettings().dbUrl1));
    ui_->url2->clear();
    updateTestAddress();
}

void NewspaperSettingsDialog::connectionTest() {
    shell_.openUrl(shellAddress(testAddress()));
}

void NewspaperSettingsDialog::accept() {
    settings_.sportsShowImages = ui_->sportsImages->isChecked() ? 1 : 0;
    settings_.sportsLinkNames = ui_->sportsLinkNames->isChecked() ? 1 : 0;
    settings_.paperShowImages = ui_->paperImages->isChecked() ? 1 : 0;
    settings_.paperLinkNames = ui_->paperLinkNames->isChecked() ? 1 : 0;
    settings_.paperHowToRead = ui_->paperHowToRead->isChecked() ? 1 : 0;
    settings_.paperEdition = ui_->detailedEdition->isChecked()  ? 2
                             : ui_->resultsEdition->isChecked() ? 3
                                                                : 1;
    settings_.paperPastRuns = ui_->pastRuns->currentIndex() + 1; // 0 with no choice
    settings_.dbUrl1 = toCp932(ui_->url1->toPlainText());
    settings_.dbUrl2 = toCp932(ui_->url2->toPlainText());
    settings_.dbTestName = toCp932(ui_->testName->text());
    QDialog::accept();
}

bool NewspaperSettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    // Enter in an address field presses the default button, as in a
    // one-line field, instead of breaking the address.
    if ((watched == ui_->url1 || watched == ui_->url2) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ui_->okButton->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zelkor
