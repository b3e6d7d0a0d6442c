#include "app/backtest_period_dialog.h"

#include "app/store_dates_dialog.h"
#include "ui_backtest_period_dialog.h"

#include <QDate>
#include <QPushButton>

namespace zelkor {

namespace {

QDate dateOf(int yyyymmdd) {
    return QDate(yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100);
}

int numberOf(const QDate& date) {
    return date.year() * 10000 + date.month() * 100 + date.day();
}

} // namespace

BacktestPeriodDialog::BacktestPeriodDialog(int firstDate, int lastDate, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::BacktestPeriodDialog>()), firstDate_(firstDate),
      lastDate_(lastDate) {
    ui_->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ui_->wholeStoreButton->setText(
        QStringLiteral("%1 (%2～%3)")
            .arg(ui_->wholeStoreButton->text(), storeDateText(firstDate), storeDateText(lastDate)));
    for (QDateEdit* edit : {ui_->fromEdit, ui_->toEdit})
        edit->setDateRange(dateOf(firstDate), dateOf(lastDate));
    ui_->fromEdit->setDate(dateOf(firstDate));
    ui_->toEdit->setDate(dateOf(lastDate));
    // The period never ends before it begins.
    connect(ui_->fromEdit, &QDateEdit::dateChanged, this, [this](QDate from) {
        if (ui_->toEdit->date() < from)
            ui_->toEdit->setDate(from);
    });
    connect(ui_->toEdit, &QDateEdit::dateChanged, this, [this](QDate to) {
        if (ui_->fromEdit->date() > to)
            ui_->fromEdit->setDate(to);
    });
    const auto enablePeriod = [this] {
        const bool period = ui_->periodButton->isChecked();
        ui_->fromEdit->setEnabled(period);
        ui_->toEdit->setEnabled(period);
    };
    connect(ui_->periodButton, &QRadioButton::toggled, this, enablePeriod);
    enablePeriod();
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

BacktestPeriodDialog::~BacktestPeriodDialog() = default;

int BacktestPeriodDialog::fromDate() const {
    return ui_->periodButton->isChecked() ? numberOf(ui_->fromEdit->date()) : firstDate_;
}

int BacktestPeriodDialog::toDate() const {
    return ui_->periodButton->isChecked() ? numberOf(ui_->toEdit->date()) : lastDate_;
}

} // namespace zelkor
