#include "app/store_dates_dialog.h"

#include "ui_store_dates_dialog.h"

#include <QDate>
#include <QPushButton>
#include <QTreeWidget>

namespace zelkor {

QString storeDateText(int yyyymmdd) {
    const QDate date(yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100);
    static const char16_t* const kWeekdays[] = {u"月", u"火", u"水", u"木", u"金", u"土", u"日"};
    QString text = QStringLiteral("%1年%2月%3日")
                       .arg(yyyymmdd / 10000, 4, 10, QLatin1Char('0'))
                       .arg(yyyymmdd / 100 % 100, 2, 10, QLatin1Char('0'))
                       .arg(yyyymmdd % 100, 2, 10, QLatin1Char('0'));
    // A date the store should never hold still shows its digits.
    if (date.isValid())
        text += QStringLiteral("(%1)").arg(QString::fromUtf16(kWeekdays[date.dayOfWeek() - 1]));
    return text;
}

StoreDatesDialog::StoreDatesDialog(const std::vector<StoreDate>& dates, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::StoreDatesDialog>()) {
    ui_->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    for (const StoreDate& d : dates) {
        auto* item =
            new QTreeWidgetItem(ui_->dateList, {storeDateText(d.date), QString::number(d.races)});
        item->setData(0, Qt::UserRole, d.date);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    ui_->dateList->resizeColumnToContents(0);
    ui_->dateList->setColumnWidth(0, ui_->dateList->columnWidth(0) + fontMetrics().height());
    ui_->dateList->setCurrentItem(ui_->dateList->topLevelItem(0));
    ui_->okButton->setEnabled(!dates.empty());
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->dateList, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
}

StoreDatesDialog::~StoreDatesDialog() = default;

int StoreDatesDialog::chosenDate() const {
    const QTreeWidgetItem* item = ui_->dateList->currentItem();
    return item ? item->data(0, Qt::UserRole).toInt() : 0;
}

QTreeWidget* StoreDatesDialog::dateList() const {
    return ui_->dateList;
}

} // namespace zelkor
