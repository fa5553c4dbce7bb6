#include "ui/reading/ReadingWindow.h"

#include "engine/NodeReading.h"
#include "ui/about/AboutDialog.h"
#include "ui/common/Accessibility.h"
#include "ui/common/LabelFit.h"
#include "ui/common/Look.h"
#include "ui/common/OpenWindows.h"
#include "ui/common/SiteLinks.h"
#include "ui/reading/ReportWindow.h"
#include "ui_ReadingWindow.h"

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
void setLook(Ui::ReadingWindow& ui) {
    using namespace look;
    ui.centralwidget->setFont(verdana(8.25));
    setBackground(*ui.centralwidget, kBlack);
    for (Panel* strip : {ui.forumStrip, ui.offerStrip})
        strip->setLook(kSalmon, 0, {});
    for (Panel* column : {ui.northColumn, ui.southColumn}) {
        column->setLook(kPaleYellow, 0, {1, 1});
        column->setFont(verdana(9, Bold | Underlined));
        setTextColour(*column, kBlack);
    }
    for (QFrame* panel :
         {ui.northSignPanel, ui.southSignPanel, ui.northKeywordsPanel, ui.southKeywordsPanel,
          ui.northExplanationPanel, ui.southExplanationPanel})
        setBackground(*panel, kSalmon);
    for (QLabel* link : {ui.forumLink, ui.coBrandOffer, ui.fullBrandOffer}) {
        link->setFont(verdana(8.25, Bold | Underlined));
        setTextColour(*link, kLinkBlue);
    }
    for (QLabel* offer : {ui.coBrandOffer, ui.fullBrandOffer})
        setBackground(*offer, kSalmon);
    ui.titleLabel->setFont(verdana(9.75, Bold | Underlined));
    setTextColour(*ui.titleLabel, QColor(255, 255, 0));
    ui.introLabel->setFont(verdana(8.25, Bold));
    setTextColour(*ui.introLabel, QColor(255, 128, 128));
    setBackground(*ui.introLabel, kBlack);
    for (QLabel* heading : {ui.northSignHeading, ui.southSignHeading})
        heading->setFont(verdana(9, Bold | Underlined));
    for (QLabel* heading : {ui.northKeywordsHeading, ui.southKeywordsHeading})
        heading->setFont(verdana(8.25, Bold | Underlined));
    for (QLabel* sign : {ui.northSignLabel, ui.southSignLabel}) {
        sign->setFont(verdana(9, Bold));
        setTextColour(*sign, QColor(0, 0, 255));
    }
    for (QLabel* label : {ui.northExplanationLabel, ui.southExplanationLabel, ui.northKeywordsLabel,
                          ui.southKeywordsLabel}) {
        const bool explanation =
            label == ui.northExplanationLabel || label == ui.southExplanationLabel;
        label->setFont(verdana(explanation ? 8.25 : 9, Bold));
        setTextColour(*label, kLightYellow);
    }
    for (QPlainTextEdit* description : {ui.northDescriptionView, ui.southDescriptionView}) {
        description->setFont(verdana(8.25, Bold));
        setPaper(*description, kSalmon, kLightYellow);
        setFrameBackground(*description, kSalmon);
    }
    for (QPushButton* button : {ui.printButton, ui.backButton, ui.exitButton})
        button->setFont(verdana(8.25, Bold));
}

} // namespace

ReadingWindow::ReadingWindow()
    : ui(std::make_unique<Ui::ReadingWindow>()) {
    ui->setupUi(this);
    setLook(*ui);
    setAttribute(Qt::WA_DeleteOnClose);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    OpenWindows::add(this);

    connect(ui->printButton, &QPushButton::clicked, this, &ReadingWindow::showReport);
    connect(ui->actionPrint, &QAction::triggered, this, &ReadingWindow::showReport);
    connect(ui->backButton, &QPushButton::clicked, this, &ReadingWindow::goBack);
    connect(ui->actionBack, &QAction::triggered, this, &ReadingWindow::goBack);
    connect(ui->exitButton, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->actionExit, &QAction::triggered, this, &QWidget::close);
    connectSiteLinks(*ui, this);
    connectAbout(*ui->actionAbout, this);

    ui->fullBrandOffer->raise();
    shareOnePlace(*ui->coBrandOffer, *ui->fullBrandOffer);
    tabToLinksAfter(*ui->exitButton);
    // The frames' captions are centred with spaces; screen readers are given the words alone.
    for (QGroupBox* frame : {ui->northColumn, ui->southColumn})
        frame->setAccessibleName(frame->title().trimmed());
    // Moving to a node's description, a screen reader says first where the node is placed and
    // what its keywords are.
    presentAsHeading(*ui->titleLabel);
    for (auto [caption, value] : {std::pair{ui->northSignHeading, ui->northSignLabel},
                                  {ui->northKeywordsHeading, ui->northKeywordsLabel},
                                  {ui->southSignHeading, ui->southSignLabel},
                                  {ui->southKeywordsHeading, ui->southKeywordsLabel}})
        labelWith(*value, *caption);
    nameAfter(*ui->northDescriptionView, {ui->northSignLabel, ui->northKeywordsLabel});
    nameAfter(*ui->southDescriptionView, {ui->southSignLabel, ui->southKeywordsLabel});
    pressFocusedButtonsOnEnter(*this);
    const QList<QLabel*> offers{ui->coBrandOffer, ui->fullBrandOffer};
    for (QLabel* label : ui->centralwidget->findChildren<QLabel*>()) {
        m_designGeometry.insert(label, label->geometry());
        if (!offers.contains(label)) // the offers are fitted together below
            fitLabelToText(*label, label->geometry());
    }
    fitLabelsToText(offers, m_designGeometry.value(ui->coBrandOffer));
    look::fitToScreen(*this, *ui->centralwidget);
    resizeBeforeShowing(*ui->northDescriptionView);
    resizeBeforeShowing(*ui->southDescriptionView);
}

ReadingWindow::~ReadingWindow() = default;

void ReadingWindow::setNorthKeywords(std::string_view keywords) {
    showFitted(*ui->northKeywordsLabel, fromUtf8(keywords));
}

void ReadingWindow::setNorthDescription(std::string_view description) {
    ui->northDescriptionView->setPlainText(fromUtf8(description));
}

void ReadingWindow::setSouthKeywords(std::string_view keywords) {
    showFitted(*ui->southKeywordsLabel, fromUtf8(keywords));
}

void ReadingWindow::setSouthDescription(std::string_view description) {
    ui->southDescriptionView->setPlainText(fromUtf8(description));
}

void ReadingWindow::setNorthSign(const QString& sign) {
    showFitted(*ui->northSignLabel, sign);
}

void ReadingWindow::setSouthSign(const QString& sign) {
    showFitted(*ui->southSignLabel, sign);
}

void ReadingWindow::setBirthDate(const QString& birthDate) {
    m_birthDate = birthDate;
}

ReportSource ReadingWindow::reportSource() const {
    ReportSource source;
    source.name = QString::fromStdString(currentReading().name);
    source.birthDate = m_birthDate;
    source.northNodeExplanation = ui->northExplanationLabel->text();
    source.northSign = ui->northSignLabel->text();
    source.northKeywords = ui->northKeywordsLabel->text();
    source.northDescription = ui->northDescriptionView->toPlainText();
    source.southNodeExplanation = ui->southExplanationLabel->text();
    source.southSign = ui->southSignLabel->text();
    source.southKeywords = ui->southKeywordsLabel->text();
    source.southDescription = ui->southDescriptionView->toPlainText();
    return source;
}

void ReadingWindow::showReport() {
    showReportWindow(this, reportSource());
}

void ReadingWindow::goBack() {
    m_goingBack = true;
    close();
    emit wentBack();
}

void ReadingWindow::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (!m_goingBack)
        shutDownApplication(this);
}

void ReadingWindow::showFitted(QLabel& label, const QString& text) {
    label.setText(text);
    fitLabelToText(label, m_designGeometry.value(&label));
}
