#include "ui/about/AboutDialog.h"

#include "services/ApplicationInfo.h"
#include "services/SitePages.h"
#include "ui/common/Accessibility.h"
#include "ui/common/Look.h"
#include "ui/common/OpenWindows.h"
#include "ui_AboutDialog.h"

#include <QAction>
#include <QIcon>
#include <QUrl>

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::AboutDialog>()) {
    ui->setupUi(this);
    // Black text and blue links on light grey, whichever window opens it.
    look::setBackground(*ui->content, QColor(239, 239, 239));
    look::setTextColour(*ui->content, look::kBlack);
    for (LinkLabel* link : {ui->homePageLink, ui->fullBrandLink})
        look::setTextColour(*link, QColor(0, 0, 204));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    OpenWindows::add(this);

    // A packager may build the program for another site: name the one its links open.
    ui->descriptionLabel->setText(ui->descriptionLabel->text().arg(QUrl(siteAddress()).host()));
    ui->homePageLink->setText(ui->homePageLink->text().arg(siteAddress()));
    const QIcon icon = applicationIcon();
    setWindowIcon(icon);
    ui->iconLabel->setPixmap(icon.pixmap(ui->iconLabel->size()));
    look::fitToScreen(*this, *ui->content);

    connect(ui->homePageLink, &LinkLabel::clicked, this, openHomePage);
    // The About window's offer is for the fully branded edition, whatever its name says.
    connect(ui->fullBrandLink, &LinkLabel::clicked, this, openFullyBrandedPage);
    connect(ui->okButton, &QPushButton::clicked, this, &QWidget::close);
    tabToLinksAfter(*ui->okButton);
    presentAsHeading(*ui->nameLabel);
    pressFocusedButtonsOnEnter(*this);
}

AboutDialog::~AboutDialog() = default;

AboutDialog* showAboutWindow(QWidget* opener) {
    AboutDialog* about = nullptr;
    for (QWidget* window : OpenWindows::inCreationOrder()) {
        // One that is no longer visible has been closed and waits to be deleted.
        auto* dialog = qobject_cast<AboutDialog*>(window);
        if (dialog && dialog->isVisible())
            about = dialog;
    }
    if (!about)
        about = new AboutDialog(opener);
    about->show();
    about->raise();
    about->activateWindow();
    return about;
}

void connectAbout(const QAction& action, QWidget* opener) {
    QObject::connect(&action, &QAction::triggered, opener, [opener] { showAboutWindow(opener); });
}
