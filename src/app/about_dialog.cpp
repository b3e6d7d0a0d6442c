#include "app/about_dialog.h"

#include "app/app_icons.h"
#include "app/help.h"
#include "core/version.h"
#include "ui_about_dialog.h"

namespace zelkor {

AboutDialog::AboutDialog(Shell& shell, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::AboutDialog>()), shell_(shell) {
    ui_->setupUi(this);
    setWindowIcon(applicationIcon());
    ui_->iconLabel->setPixmap(applicationIcon().pixmap(32));
    ui_->versionLabel->setText(QStringLiteral("ゼルコ馬2000 Version ") +
                               QString::fromLatin1(kVersionShown));
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    // There is no project site to link to: the button opens the help that
    // came with the program.
    connect(ui_->homePageButton, &QPushButton::clicked, this,
            [this] { openHelp(shell_, kHelpContents); });
    setFixedSize(sizeHint());
}

AboutDialog::~AboutDialog() = default;

} // namespace zelkor
