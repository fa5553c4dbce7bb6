#include "ui/main/MainWindow.h"

#include "engine/NodeIngressTable.h"
#include "engine/NodeReading.h"
#include "engine/SignCatalogue.h"
#include "format/ReadingFile.h"
#include "services/Platform.h"
#include "services/UpdateReminder.h"
#include "ui/about/AboutDialog.h"
#include "ui/common/Accessibility.h"
#include "ui/common/LabelFit.h"
#include "ui/common/Look.h"
#include "ui/common/OpenWindows.h"
#include "ui/common/SiteLinks.h"
#include "ui/reading/ReadingWindow.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLayout>
#include <algorithm>
#include <optional>

namespace {

const QString kOnlyLetters = QStringLiteral("Please Enter only Letters");
const QString kCheckTheFile = QStringLiteral("Please Check The File.");

constexpr char16_t kEnter = 13;
constexpr char16_t kBackspace = 8;

bool isLowerCaseLetter(char16_t code) {
    return code >= u'a' && code <= u'z';
}

bool isLetter(char16_t code) {
    return isLowerCaseLetter(code) || (code >= u'A' && code <= u'Z');
}

char16_t capital(char16_t letter) {
    return isLowerCaseLetter(letter) ? static_cast<char16_t>(letter - 32) : letter;
}

// Return or Enter alone: what starts the reading.
bool isPlainEnter(const QKeyEvent& event) {
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    return enter && (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// The character code a key press types, or none for a key that only moves the
// caret, deletes or moves the focus.
std::optional<char16_t> typedCharacter(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return std::nullopt;
    default:
        break;
    }
    // Ctrl with a letter types a control character (Ctrl+V types 22) on every platform,
    // whatever text the platform reports for it. Ctrl with Alt is AltGr and types its own text.
    const auto chord = event.modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (chord == Qt::ControlModifier && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        return static_cast<char16_t>(event.key() - Qt::Key_A + 1);
    const QString text = event.text();
    if (text.size() != 1)
        return std::nullopt; // several characters at once are checked as inserted text
    return text.front().unicode();
}

// Only spaces are trimmed: a saved name keeps any other white space it holds.
QString withoutOuterSpaces(const QString& text) {
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text[first] == u' ')
        ++first;
    while (end > first && text[end - 1] == u' ')
        --end;
    return text.sliced(first, end - first);
}

std::int16_t listNumber(const QComboBox& list) {
    return withoutOuterSpaces(list.currentText()).toShort();
}

std::int16_t position(const QComboBox& list) {
    return static_cast<std::int16_t>(list.currentIndex());
}

int itemIndex(const QComboBox& list, const std::string& text) {
    return list.findText(QString::fromStdString(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

// Black behind pale yellow and salmon panels, whose texts are black or link blue, and
// bold unless said otherwise (see the constructor).
void setLook(Ui::MainWindow& ui) {
    using namespace look;
    setBackground(*ui.centralwidget, kBlack);
    for (Panel* panel : {ui.forumStrip, ui.entryPanel, ui.detailsBox, ui.offerStrip}) {
        const bool strip = panel == ui.forumStrip || panel == ui.offerStrip;
        panel->setLook(strip ? kSalmon : kPaleYellow, 4, {8, 4});
        setTextColour(*panel, kBlack);
    }
    ui.nameEdit->setFont(verdana(8.25));
    ui.openReadingButton->setFont(verdana(9, Bold));
    for (QLabel* caption : {ui.nameLabel, ui.birthDateLabel})
        caption->setFont(verdana(8.25, Bold | Underlined));
    for (QLabel* caption : {ui.dayLabel, ui.monthLabel, ui.yearLabel})
        caption->setFont(verdana(8.25, Underlined));
    for (QLabel* link : {ui.forumLink, ui.coBrandOffer, ui.fullBrandOffer}) {
        link->setFont(verdana(8.25, Bold | Underlined));
        setTextColour(*link, kLinkBlue);
    }
    // The offer in front hides the one behind it.
    for (QLabel* offer : {ui.coBrandOffer, ui.fullBrandOffer})
        setBackground(*offer, kSalmon);
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>()) {
    // Most texts are bold: the widgets are created in that font, so that only the others
    // change font afterwards. A list whose font changes builds its drop-down at once.
    setFont(look::verdana(8.25, look::Bold));
    ui->setupUi(this);
    ui->centralwidget->setFont(font());
    setFont(QFont()); // the menu bar keeps the desktop's font
    setLook(*ui);
    setAttribute(Qt::WA_DeleteOnClose);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    OpenWindows::add(this);

    connect(ui->getReadingButton, &QPushButton::clicked, this, &MainWindow::showReading);
    connect(ui->actionGetReading, &QAction::triggered, this, &MainWindow::showReading);
    connect(ui->openReadingButton, &QPushButton::clicked, this, &MainWindow::openSavedReading);
    connect(ui->actionOpenReading, &QAction::triggered, this, &MainWindow::openSavedReading);
    connect(ui->exitButton, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->actionExit, &QAction::triggered, this, &QWidget::close);
    connectSiteLinks(*ui, this);
    connectAbout(*ui->actionAbout, this);

    // Room for any name a reading file brings: each of its bytes is at most one character.
    ui->nameEdit->setMaxLength(static_cast<int>(kMaxReadingFileSize));
    ui->getReadingButton->setDefault(true);
    // The entry's caption has no access key of its own.
    ui->actionOpenReading->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    tabToLinksAfter(*ui->exitButton);
    pressFocusedButtonsOnEnter(*this);
    shareOnePlace(*ui->coBrandOffer, *ui->fullBrandOffer);

    ui->nameEdit->installEventFilter(this);
    connect(ui->nameEdit, &QLineEdit::textEdited, this, &MainWindow::filterInsertedName);
    // Read from the box: after an edit is filtered, textChanged still carries the unfiltered text.
    connect(ui->nameEdit, &QLineEdit::textChanged, this,
            [this] { m_nameBeforeEdit = ui->nameEdit->text(); });

    const QList<QLabel*> offers{ui->coBrandOffer, ui->fullBrandOffer};
    const QRect offersPlace = ui->coBrandOffer->geometry();
    for (QLabel* label : ui->centralwidget->findChildren<QLabel*>())
        if (!offers.contains(label)) // the offers are fitted together below
            fitLabelToText(*label, label->geometry());
    fitLabelsToText(offers, offersPlace);
    look::fitToScreen(*this, *ui->centralwidget);

    checkUpdateReminder(); // may offer the download page before the window shows
    fillDateLists();
}

MainWindow::~MainWindow() = default;

void MainWindow::fillDateLists() {
    const auto numbers = [](int first, int last) {
        QStringList texts;
        for (int number = first; number <= last; ++number)
            texts.append(QString::number(number));
        return texts;
    };
    // One insertion for each list rather than one for each item.
    ui->dayCombo->addItems(numbers(1, 31));
    ui->monthCombo->addItems({"January", "February", "March", "April", "May", "June", "July",
                              "August", "September", "October", "November", "December"});
    ui->yearCombo->addItems(numbers(kFirstTableYear, kLastTableYear));
    ui->dayCombo->setCurrentIndex(0);
    ui->monthCombo->setCurrentIndex(0);
    ui->yearCombo->setCurrentIndex(0);
}

QString MainWindow::birthDateText() const {
    return ui->monthCombo->currentText() + u'/' + ui->dayCombo->currentText() + u'/' +
           ui->yearCombo->currentText();
}

char16_t MainWindow::acceptedNameCharacter(char16_t keyAscii) {
    if (isLetter(keyAscii))
        return capital(keyAscii);
    if (keyAscii == u' ' || keyAscii == kEnter || keyAscii == kBackspace)
        return keyAscii;
    platform().message(this, kOnlyLetters, Platform::Icon::Information);
    return 0;
}

bool MainWindow::filterNameKey(QKeyEvent& event) {
    const std::optional<char16_t> typed = typedCharacter(event);
    if (!typed)
        return false;
    const char16_t accepted = acceptedNameCharacter(*typed);
    if (accepted == *typed)
        return false;
    if (accepted != 0)
        ui->nameEdit->insert(QString(QChar(accepted)));
    return true;
}

// Text that reaches the name other than by typing (pasted, dropped, committed by
// an input method) is held to the same rule: letters as capitals, and spaces.
void MainWindow::filterInsertedName(const QString& edited) {
    const QString& before = m_nameBeforeEdit;
    // What was inserted lies between what the edit left unchanged at either end.
    const qsizetype shorter = std::min(before.size(), edited.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == edited[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == edited[edited.size() - 1 - suffix])
        ++suffix;
    const QString inserted = edited.sliced(prefix, edited.size() - prefix - suffix);

    QString kept;
    for (const QChar character : inserted) {
        if (isLetter(character.unicode()))
            kept += QChar(capital(character.unicode()));
        else if (character == u' ')
            kept += character;
    }
    if (kept == inserted)
        return;
    ui->nameEdit->setText(edited.first(prefix) + kept + edited.last(suffix));
    ui->nameEdit->setCursorPosition(static_cast<int>(prefix + kept.size()));
    if (kept.size() != inserted.size())
        platform().message(this, kOnlyLetters, Platform::Icon::Information);
}

bool MainWindow::validateBirthData() {
    if (ui->nameEdit->text().isEmpty()) {
        platform().message(this, QStringLiteral("Please Enter Your Name"),
                           Platform::Icon::Information);
        ui->nameEdit->setFocus();
        return false;
    }
    // Every fourth year is a leap year: true of every year from 1940 to 2009.
    const bool leapYear = ui->yearCombo->currentText().toInt() % 4 == 0;
    const int month = ui->monthCombo->currentIndex() + 1;
    const int day = ui->dayCombo->currentIndex() + 1;
    if (month == 2 && day > (leapYear ? 29 : 28)) {
        platform().message(this, QStringLiteral("Please Enter Correct Date Or Month!"),
                           Platform::Icon::Information);
        return false;
    }
    const bool thirtyDays = month == 4 || month == 6 || month == 9 || month == 11;
    if (thirtyDays && day == 31) {
        platform().message(this, QStringLiteral("Please Enter Correct Date Or Month !"),
                           Platform::Icon::Information);
        return false;
    }
    return true;
}

void MainWindow::showReading() {
    if (!validateBirthData())
        return;
    NodeReading& reading = currentReading();
    reading.name = withoutOuterSpaces(ui->nameEdit->text()).toStdString();
    reading.year = listNumber(*ui->yearCombo);
    reading.monthName = withoutOuterSpaces(ui->monthCombo->currentText()).toStdString();
    reading.day = listNumber(*ui->dayCombo);
    lookUpNorthNodeSign(reading, ui->yearCombo->currentText().toDouble(), position(*ui->monthCombo),
                        position(*ui->dayCombo));

    if (!m_readingWindow) {
        m_readingWindow = new ReadingWindow;
        connect(m_readingWindow, &ReadingWindow::wentBack, this, &MainWindow::returnFromReading);
    }
    m_readingWindow->setBirthDate(birthDateText());
    applySignCatalogue(reading, *m_readingWindow);
    m_readingWindow->setNorthSign(QString::fromStdString(reading.northSign));
    m_readingWindow->setSouthSign(QString::fromStdString(reading.southSign));
    // Focus in the menu bar, or nowhere, comes back to the name.
    QWidget* focus = focusWidget();
    m_focusBeforeReading = focus && ui->centralwidget->isAncestorOf(focus) ? focus : ui->nameEdit;
    hide();
    m_readingWindow->show();
}

void MainWindow::openSavedReading() {
    const QString path =
        platform().chooseFileToOpen(this, {.title = QStringLiteral("Select the source file"),
                                           .filter = QStringLiteral("Nodalis (*.nrd)"),
                                           .defaultSuffix = QStringLiteral("nrd")});
    openReadingFile(QFile::encodeName(path).toStdString());
}

void MainWindow::openReadingFile(const std::string& path) {
    if (path.empty())
        return;
    if (!path.ends_with("nrd")) {
        platform().message(this, kCheckTheFile, Platform::Icon::Stop);
        return;
    }
    // A file that cannot be read, or whose date the lists do not hold, changes
    // nothing: a reading of some other date would look like the saved one.
    const ReadingFileContents file = readReadingFile(std::filesystem::path(path));
    const int day = itemIndex(*ui->dayCombo, file.lines.day);
    const int month = itemIndex(*ui->monthCombo, file.lines.monthName);
    const int year = itemIndex(*ui->yearCombo, file.lines.year);
    if (file.status != ReadStatus::Read || day < 0 || month < 0 || year < 0) {
        platform().message(this, kCheckTheFile, Platform::Icon::Stop);
        return;
    }
    // The saved name goes in as it was saved, not through the typing filter.
    ui->nameEdit->setText(QString::fromStdString(file.lines.name));
    ui->dayCombo->setCurrentIndex(day);
    ui->monthCombo->setCurrentIndex(month);
    ui->yearCombo->setCurrentIndex(year);
    showReading();
}

void MainWindow::backFromReading() {
    if (m_readingWindow)
        m_readingWindow->goBack();
}

QWidget* MainWindow::windowInFront() {
    if (m_readingWindow && m_readingWindow->isVisible())
        return m_readingWindow;
    return this;
}

void MainWindow::bringToFront(Offer offer) {
    (offer == Offer::FullBrand ? ui->fullBrandOffer : ui->coBrandOffer)->raise();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->nameEdit && event->type() == QEvent::KeyPress) {
        auto& key = static_cast<QKeyEvent&>(*event);
        // Under some platform themes (GNOME's) the box keeps Enter from its window.
        if (!isPlainEnter(key))
            return filterNameKey(key);
        ui->getReadingButton->click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (isPlainEnter(*event))
        ui->getReadingButton->click();
    else
        QMainWindow::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    shutDownApplication(this);
}

void MainWindow::returnFromReading() {
    m_readingWindow.clear();
    show();
    activateWindow();
    if (m_focusBeforeReading)
        m_focusBeforeReading->setFocus();
}
