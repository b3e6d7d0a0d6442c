#include "app/progress_dialog.h"

#include "app/qt_text.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelkor {

ProgressDialog::ProgressDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      cancel_(new QPushButton(QStringLiteral("キャンセル(&C)"), this)), message_(new QLabel(this)),
      bar_(new QProgressBar(this)) {
    setWindowTitle(QStringLiteral("保存中..."));
    setModal(false);
    // Long paths are shortened in their middle, where the folders are, so
    // the beginning and the file name stay readable.
    message_->setWordWrap(false);
    message_->setFixedWidth(kMessageWidth);
    message_->setMinimumHeight(60);
    message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message_);
    layout->addWidget(bar_);
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    cancel_->setAutoDefault(false);
    cancel_->hide();
    layout->addWidget(cancel_, 0, Qt::AlignRight);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        cancel_->setEnabled(false);
        emit cancelRequested();
    });
}

void ProgressDialog::offerCancel() {
    cancel_->show();
}

void ProgressDialog::reject() {
    if (cancel_->isVisible() && cancel_->isEnabled())
        cancel_->click();
}

void ProgressDialog::setText(const std::string& text) {
    text_ = toQt(text);
    const QFontMetrics metrics(message_->font());
    QStringList lines = QString(text_).remove(u'\r').split(u'\n');
    for (QString& line : lines)
        line = metrics.elidedText(line, Qt::ElideMiddle, kMessageWidth);
    message_->setText(lines.join(u'\n'));
    repaint();
}

void ProgressDialog::setPosition(int position) {
    bar_->setValue(position);
    repaint();
}

void ProgressDialog::setStep(int step) {
    step_ = step;
}

void ProgressDialog::step() {
    // The bar wraps to its start when a step passes its end, as the common
    // progress control does.
    int next = bar_->value() + step_;
    if (next > bar_->maximum())
        next = bar_->minimum() + (next - bar_->maximum());
    bar_->setValue(next);
    repaint();
}

QString ProgressDialog::text() const {
    return text_;
}

QString ProgressDialog::shownText() const {
    return message_->text();
}

int ProgressDialog::position() const {
    return bar_->value();
}

} // namespace zelkor
