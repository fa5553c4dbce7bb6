#include "shell/frmAbout.h"

#include "shell/ApplicationInfo.h"
#include "shell/LoadedWindows.h"
#include "shell/Look.h"
#include "shell/modHelp.h"
#include "ui_frmAbout.h"

#include <QIcon>
#include <QUrl>

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::frmAbout>()) {
    ui->setupUi(this);
    // Black text and blue links on light grey, whichever window opens it.
    look::setBackground(*ui->content, QColor(239, 239, 239));
    look::setTextColour(*ui->content, look::kBlack);
    for (LinkLabel* link : {ui->lblHomePage, ui->lblCoBrand})
        look::setTextColour(*link, QColor(0, 0, 204));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    LoadedWindows::add(this);

    // A packager may build the program for another site: name the one its links open.
    ui->Label1->setText(ui->Label1->text().arg(QUrl(siteAddress()).host()));
    ui->lblHomePage->setText(ui->lblHomePage->text().arg(siteAddress()));
    const QIcon icon = applicationIcon();
    setWindowIcon(icon);
    ui->picIcon->setPixmap(icon.pixmap(ui->picIcon->size()));
    look::fitToScreen(*this, *ui->content);

    connect(ui->lblHomePage, &LinkLabel::clicked, this, &frmAbout::lblHomePage_Click);
    connect(ui->lblCoBrand, &LinkLabel::clicked, this, &frmAbout::lblCoBrand_Click);
    connect(ui->cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    tabToLinksAfter(*ui->cmdOK);
}

frmAbout::~frmAbout() = default;

void frmAbout::lblHomePage_Click() {
    OpenHomePage();
}

void frmAbout::lblCoBrand_Click() {
    // The About window's offer is for the fully branded edition, whatever its name says.
    OpenFullyBrandedPage();
}

void frmAbout::cmdOK_Click() {
    close();
}

frmAbout* showAboutWindow(QWidget* opener) {
    frmAbout* about = nullptr;
    for (QWidget* window : LoadedWindows::inLoadOrder()) {
        // One that is no longer visible has been closed and waits to be deleted.
        auto* loaded = qobject_cast<frmAbout*>(window);
        if (loaded && loaded->isVisible())
            about = loaded;
    }
    if (!about)
        about = new frmAbout(opener);
    about->show();
    about->raise();
    about->activateWindow();
    return about;
}
