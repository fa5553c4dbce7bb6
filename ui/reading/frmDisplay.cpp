#include "ui/reading/frmDisplay.h"

#include "engine/NodeReading.h"
#include "shell/LinkLabel.h"
#include "shell/LoadedWindows.h"
#include "shell/Look.h"
#include "shell/frmAbout.h"
#include "shell/modHelp.h"
#include "ui/main/frmMain.h"
#include "ui/reading/LabelFit.h"
#include "ui/reading/frmSave.h"
#include "ui_frmDisplay.h"

#include <QAbstractScrollArea>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>
#include <QResizeEvent>
#include <utility>

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Qt gives a hidden widget the resize event of its size only when its window is
// shown. A description box lays its text out when the text arrives and again on
// that event, for what it takes to be a new width, and has to shape the text a
// third time to draw it. Sent before any text arrives, the same events leave a
// single layout, at the width the box is shown at, whose shaping the drawing
// reuses. Qt sends these very events itself on showing, so nothing on screen changes.
void resizeBeforeShowing(QAbstractScrollArea& box) {
    // The box's own event places its viewport; the viewport's sets the text width.
    for (QWidget* widget : {static_cast<QWidget*>(&box), box.viewport()}) {
        QResizeEvent resize(widget->size(), QSize());
        QCoreApplication::sendEvent(widget, &resize);
        widget->setAttribute(Qt::WA_PendingResizeEvent, false);
    }
}

// Salmon panels on black, the two node columns pale yellow with black captions.
void setLook(Ui::frmDisplay& ui) {
    using namespace look;
    ui.centralwidget->setFont(verdana(8.25));
    setBackground(*ui.centralwidget, kBlack);
    for (Panel* strip : {ui.Frame2, ui.Frame5})
        strip->setLook(kSalmon, 0, {});
    for (Panel* column : {ui.Frame4, ui.Frame6}) {
        column->setLook(kPaleYellow, 0, {1, 1});
        column->setFont(verdana(9, Bold | Underlined));
        setTextColour(*column, kBlack);
    }
    for (QFrame* panel :
         {ui.Picture1, ui.Picture2, ui.Picture3, ui.Picture4, ui.Picture5, ui.Picture6})
        setBackground(*panel, kSalmon);
    for (QLabel* link : {ui.Label61, ui.lblCobrand, ui.lblFullBrand}) {
        link->setFont(verdana(8.25, Bold | Underlined));
        setTextColour(*link, kLinkBlue);
    }
    for (QLabel* offer : {ui.lblCobrand, ui.lblFullBrand})
        setBackground(*offer, kSalmon);
    ui.Label4->setFont(verdana(9.75, Bold | Underlined));
    setTextColour(*ui.Label4, QColor(255, 255, 0));
    ui.Label1->setFont(verdana(8.25, Bold));
    setTextColour(*ui.Label1, QColor(255, 128, 128));
    setBackground(*ui.Label1, kBlack);
    for (QLabel* heading : {ui.kkk, ui.hhh})
        heading->setFont(verdana(9, Bold | Underlined));
    for (QLabel* heading : {ui.dsds, ui.Label5})
        heading->setFont(verdana(8.25, Bold | Underlined));
    for (QLabel* sign : {ui.lblNorthSign, ui.lblSouthSign}) {
        sign->setFont(verdana(9, Bold));
        setTextColour(*sign, QColor(0, 0, 255));
    }
    for (QLabel* label :
         {ui.lblNorthNodedesc, ui.lblSouthNodeDesc, ui.lblNorthKeyWord, ui.lblSouthKeyWord}) {
        const bool explanation = label == ui.lblNorthNodedesc || label == ui.lblSouthNodeDesc;
        label->setFont(verdana(explanation ? 8.25 : 9, Bold));
        setTextColour(*label, kLightYellow);
    }
    for (QPlainTextEdit* description : {ui.txtNorthDesc, ui.txtSouthDesc}) {
        description->setFont(verdana(8.25, Bold));
        setPaper(*description, kSalmon, kLightYellow);
        setFrameBackground(*description, kSalmon);
    }
    for (QPushButton* button : {ui.cmdPrint, ui.cmdBack, ui.cmdExit})
        button->setFont(verdana(8.25, Bold));
}

} // namespace

frmDisplay::frmDisplay(frmMain* mainWindow)
    : ui(std::make_unique<Ui::frmDisplay>())
    , m_mainWindow(mainWindow) {
    ui->setupUi(this);
    setLook(*ui);
    setAttribute(Qt::WA_DeleteOnClose);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    LoadedWindows::add(this);

    connect(ui->cmdPrint, &QPushButton::clicked, this, &frmDisplay::cmdPrint_Click);
    connect(ui->mnuPrint, &QAction::triggered, this, &frmDisplay::mnuPrint_Click);
    connect(ui->cmdBack, &QPushButton::clicked, this, &frmDisplay::cmdBack_Click);
    connect(ui->mnuFileBack, &QAction::triggered, this, &frmDisplay::mnuFileBack_Click);
    connect(ui->cmdExit, &QPushButton::clicked, this, &frmDisplay::cmdExit_Click);
    connect(ui->mnuExit, &QAction::triggered, this, &frmDisplay::mnuExit_Click);
    connect(ui->Label61, &LinkLabel::clicked, this, OpenHomePage);
    connect(ui->mnuVisit, &QAction::triggered, this, OpenHomePage);
    connect(ui->mnuOnline, &QAction::triggered, this, OpenHelpWebPage);
    connect(ui->mnuUpdate, &QAction::triggered, this, OpenDownloadWebPage);
    connect(ui->lblCobrand, &LinkLabel::clicked, this, OpenCoBrandPage);
    connect(ui->lblFullBrand, &LinkLabel::clicked, this, OpenFullyBrandedPage);
    connect(ui->mkmoney, &QAction::triggered, this, OpenFullyBrandedPage);
    connect(ui->mnuAbout, &QAction::triggered, this, &frmDisplay::mnuAbout_Click);

    ui->lblFullBrand->raise();
    shareOnePlace(*ui->lblCobrand, *ui->lblFullBrand);
    tabToLinksAfter(*ui->cmdExit);
    // The frames' captions are centred with spaces; screen readers are given the words alone.
    // The panels in the frames are named by the heading above them, or else by their frame.
    for (QGroupBox* frame : {ui->Frame4, ui->Frame6})
        frame->setAccessibleName(frame->title().trimmed());
    ui->Picture5->setAccessibleName(ui->Frame4->accessibleName());
    ui->Picture6->setAccessibleName(ui->Frame6->accessibleName());
    for (auto [heading, panel] : {std::pair{ui->kkk, ui->Picture1},
                                  {ui->dsds, ui->Picture3},
                                  {ui->hhh, ui->Picture2},
                                  {ui->Label5, ui->Picture4}})
        heading->setBuddy(panel);
    const QList<QLabel*> offers{ui->lblCobrand, ui->lblFullBrand};
    for (QLabel* label : ui->centralwidget->findChildren<QLabel*>()) {
        m_designGeometry.insert(label, label->geometry());
        if (!offers.contains(label)) // the offers are fitted together below
            fitLabelToText(*label, label->geometry());
    }
    fitLabelsToText(offers, m_designGeometry.value(ui->lblCobrand));
    look::fitToScreen(*this, *ui->centralwidget);
    resizeBeforeShowing(*ui->txtNorthDesc);
    resizeBeforeShowing(*ui->txtSouthDesc);
}

frmDisplay::~frmDisplay() = default;

void frmDisplay::setNorthKeywords(std::string_view keywords) {
    showFitted(*ui->lblNorthKeyWord, fromUtf8(keywords));
}

void frmDisplay::setNorthDescription(std::string_view description) {
    ui->txtNorthDesc->setPlainText(fromUtf8(description));
}

void frmDisplay::setSouthKeywords(std::string_view keywords) {
    showFitted(*ui->lblSouthKeyWord, fromUtf8(keywords));
}

void frmDisplay::setSouthDescription(std::string_view description) {
    ui->txtSouthDesc->setPlainText(fromUtf8(description));
}

void frmDisplay::setNorthSign(const QString& sign) {
    showFitted(*ui->lblNorthSign, sign);
}

void frmDisplay::setSouthSign(const QString& sign) {
    showFitted(*ui->lblSouthSign, sign);
}

ReportSource frmDisplay::reportSource() const {
    ReportSource source;
    source.name = QString::fromStdString(currentReading().name);
    if (m_mainWindow)
        source.birthDate = m_mainWindow->birthDateText();
    source.northNodeExplanation = ui->lblNorthNodedesc->text();
    source.northSign = ui->lblNorthSign->text();
    source.northKeywords = ui->lblNorthKeyWord->text();
    source.northDescription = ui->txtNorthDesc->toPlainText();
    source.southNodeExplanation = ui->lblSouthNodeDesc->text();
    source.southSign = ui->lblSouthSign->text();
    source.southKeywords = ui->lblSouthKeyWord->text();
    source.southDescription = ui->txtSouthDesc->toPlainText();
    return source;
}

void frmDisplay::cmdPrint_Click() {
    showReportWindow(this, reportSource());
}

void frmDisplay::mnuPrint_Click() {
    cmdPrint_Click();
}

void frmDisplay::cmdBack_Click() {
    m_goingBack = true;
    close();
    emit wentBack();
}

void frmDisplay::mnuFileBack_Click() {
    cmdBack_Click();
}

void frmDisplay::cmdExit_Click() {
    close();
}

void frmDisplay::mnuExit_Click() {
    cmdExit_Click();
}

void frmDisplay::mnuAbout_Click() {
    showAboutWindow(this);
}

void frmDisplay::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (!m_goingBack)
        ShutDownApplication(this);
}

void frmDisplay::showFitted(QLabel& label, const QString& text) {
    label.setText(text);
    fitLabelToText(label, m_designGeometry.value(&label));
}
