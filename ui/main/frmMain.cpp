#include "ui/main/frmMain.h"

#include "engine/NodeIngressTable.h"
#include "engine/NodeReading.h"
#include "engine/SignCatalogue.h"
#include "format/ReadingFile.h"
#include "shell/Accessibility.h"
#include "shell/LinkLabel.h"
#include "shell/LoadedWindows.h"
#include "shell/Look.h"
#include "shell/Platform.h"
#include "shell/frmAbout.h"
#include "shell/modHelp.h"
#include "ui/reading/LabelFit.h"
#include "ui/reading/frmDisplay.h"
#include "ui_frmMain.h"

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
void setLook(Ui::frmMain& ui) {
    using namespace look;
    setBackground(*ui.centralwidget, kBlack);
    for (Panel* panel : {ui.Frame2, ui.Frame3, ui.Frame1, ui.Frame5}) {
        const bool strip = panel == ui.Frame2 || panel == ui.Frame5;
        panel->setLook(strip ? kSalmon : kPaleYellow, 4, {8, 4});
        setTextColour(*panel, kBlack);
    }
    ui.txtName->setFont(verdana(8.25));
    ui.cmdOpen->setFont(verdana(9, Bold));
    for (QLabel* caption : {ui.Label1, ui.Label2})
        caption->setFont(verdana(8.25, Bold | Underlined));
    for (QLabel* caption : {ui.Label5, ui.Label7, ui.Label6})
        caption->setFont(verdana(8.25, Underlined));
    for (QLabel* link : {ui.Label61, ui.lblCobrand, ui.lblFullBrand}) {
        link->setFont(verdana(8.25, Bold | Underlined));
        setTextColour(*link, kLinkBlue);
    }
    // The offer in front hides the one behind it.
    for (QLabel* offer : {ui.lblCobrand, ui.lblFullBrand})
        setBackground(*offer, kSalmon);
}

} // namespace

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::frmMain>()) {
    installAccessibleInterfaces(); // before the lists are made
    // Most texts are bold: the widgets are created in that font, so that only the others
    // change font afterwards. A list whose font changes builds its drop-down at once.
    setFont(look::verdana(8.25, look::Bold));
    ui->setupUi(this);
    ui->centralwidget->setFont(font());
    setFont(QFont()); // the menu bar keeps the desktop's font
    setLook(*ui);
    setAttribute(Qt::WA_DeleteOnClose);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    LoadedWindows::add(this);

    connect(ui->cmdNext, &QPushButton::clicked, this, &frmMain::cmdNext_Click);
    connect(ui->mnuNext, &QAction::triggered, this, &frmMain::mnuNext_Click);
    connect(ui->cmdOpen, &QPushButton::clicked, this, &frmMain::cmdOpen_Click);
    connect(ui->mnuOpenPreviouslySavedKarmic, &QAction::triggered, this,
            &frmMain::mnuOpenPreviouslySavedKarmic_Click);
    connect(ui->cmdExit, &QPushButton::clicked, this, &frmMain::cmdExit_Click);
    connect(ui->mnuExit, &QAction::triggered, this, &frmMain::mnuExit_Click);
    connect(ui->Label61, &LinkLabel::clicked, this, OpenHomePage);
    connect(ui->mnuVisit, &QAction::triggered, this, OpenHomePage);
    connect(ui->mnuOnline, &QAction::triggered, this, OpenHelpWebPage);
    connect(ui->mnuUpdate, &QAction::triggered, this, OpenDownloadWebPage);
    connect(ui->lblCobrand, &LinkLabel::clicked, this, OpenCoBrandPage);
    connect(ui->lblFullBrand, &LinkLabel::clicked, this, OpenFullyBrandedPage);
    connect(ui->mkmoney, &QAction::triggered, this, OpenFullyBrandedPage);
    connect(ui->mnuAbout, &QAction::triggered, this, &frmMain::mnuAbout_Click);

    // Room for any name a reading file brings: each of its bytes is at most one character.
    ui->txtName->setMaxLength(static_cast<int>(kMaxReadingFileSize));
    ui->cmdNext->setDefault(true);
    // The entry's caption has no access key of its own.
    ui->mnuOpenPreviouslySavedKarmic->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    tabToLinksAfter(*ui->cmdExit);
    shareOnePlace(*ui->lblCobrand, *ui->lblFullBrand);

    ui->txtName->installEventFilter(this);
    connect(ui->txtName, &QLineEdit::textEdited, this, &frmMain::filterInsertedName);
    // Read from the box: after an edit is filtered, textChanged still carries the unfiltered text.
    connect(ui->txtName, &QLineEdit::textChanged, this,
            [this] { m_nameBeforeEdit = ui->txtName->text(); });

    const QList<QLabel*> offers{ui->lblCobrand, ui->lblFullBrand};
    const QRect offersPlace = ui->lblCobrand->geometry();
    for (QLabel* label : ui->centralwidget->findChildren<QLabel*>())
        if (!offers.contains(label)) // the offers are fitted together below
            fitLabelToText(*label, label->geometry());
    fitLabelsToText(offers, offersPlace);
    look::fitToScreen(*this, *ui->centralwidget);

    Form_Load();
}

frmMain::~frmMain() = default;

void frmMain::Form_Load() {
    CheckUpdateReminder();
    const auto numbers = [](int first, int last) {
        QStringList texts;
        for (int number = first; number <= last; ++number)
            texts.append(QString::number(number));
        return texts;
    };
    // One insertion for each list rather than one for each item.
    ui->cboDate->addItems(numbers(1, 31));
    ui->cboMonth->addItems({"January", "February", "March", "April", "May", "June", "July",
                            "August", "September", "October", "November", "December"});
    ui->cboYear->addItems(numbers(kFirstTableYear, kLastTableYear));
    ui->cboDate->setCurrentIndex(0);
    ui->cboMonth->setCurrentIndex(0);
    ui->cboYear->setCurrentIndex(0);
}

QString frmMain::birthDateText() const {
    return ui->cboMonth->currentText() + u'/' + ui->cboDate->currentText() + u'/' +
           ui->cboYear->currentText();
}

char16_t frmMain::txtName_KeyPress(char16_t keyAscii) {
    if (isLetter(keyAscii))
        return capital(keyAscii);
    if (keyAscii == u' ' || keyAscii == kEnter || keyAscii == kBackspace)
        return keyAscii;
    platform().message(this, kOnlyLetters, Platform::Icon::Information);
    return 0;
}

bool frmMain::filterNameKey(QKeyEvent& event) {
    const std::optional<char16_t> typed = typedCharacter(event);
    if (!typed)
        return false;
    const char16_t accepted = txtName_KeyPress(*typed);
    if (accepted == *typed)
        return false;
    if (accepted != 0)
        ui->txtName->insert(QString(QChar(accepted)));
    return true;
}

// Text that reaches the name other than by typing (pasted, dropped, committed by
// an input method) is held to the same rule: letters as capitals, and spaces.
void frmMain::filterInsertedName(const QString& edited) {
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
    ui->txtName->setText(edited.first(prefix) + kept + edited.last(suffix));
    ui->txtName->setCursorPosition(static_cast<int>(prefix + kept.size()));
    if (kept.size() != inserted.size())
        platform().message(this, kOnlyLetters, Platform::Icon::Information);
}

bool frmMain::ValidateBirthData() {
    if (ui->txtName->text().isEmpty()) {
        platform().message(this, QStringLiteral("Please Enter Your Name"),
                           Platform::Icon::Information);
        ui->txtName->setFocus();
        return false;
    }
    // Every fourth year is a leap year: true of every year from 1940 to 2009.
    const bool leapYear = ui->cboYear->currentText().toInt() % 4 == 0;
    const int month = ui->cboMonth->currentIndex() + 1;
    const int day = ui->cboDate->currentIndex() + 1;
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

void frmMain::cmdNext_Click() {
    if (!ValidateBirthData())
        return;
    NodeReading& reading = currentReading();
    reading.name = withoutOuterSpaces(ui->txtName->text()).toStdString();
    reading.year = listNumber(*ui->cboYear);
    reading.monthName = withoutOuterSpaces(ui->cboMonth->currentText()).toStdString();
    reading.day = listNumber(*ui->cboDate);
    LookupNorthNodeSign(reading, ui->cboYear->currentText().toDouble(), position(*ui->cboMonth),
                        position(*ui->cboDate));

    if (!m_display) {
        m_display = new frmDisplay(this);
        connect(m_display, &frmDisplay::wentBack, this, &frmMain::readingWindowWentBack);
    }
    ApplySignCatalogue(reading, *m_display);
    m_display->setNorthSign(QString::fromStdString(reading.northSign));
    m_display->setSouthSign(QString::fromStdString(reading.southSign));
    // Focus in the menu bar, or nowhere, comes back to the name.
    QWidget* focus = focusWidget();
    m_focusBeforeReading = focus && ui->centralwidget->isAncestorOf(focus) ? focus : ui->txtName;
    hide();
    m_display->show();
}

void frmMain::mnuNext_Click() {
    cmdNext_Click();
}

void frmMain::cmdOpen_Click() {
    const QString path =
        platform().chooseFileToOpen(this, {.title = QStringLiteral("Select the source file"),
                                           .filter = QStringLiteral("Nodalis (*.nrd)"),
                                           .defaultSuffix = QStringLiteral("nrd")});
    openReadingFile(path);
}

void frmMain::openReadingFile(const QString& path) {
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral("nrd"), Qt::CaseSensitive)) {
        platform().message(this, kCheckTheFile, Platform::Icon::Stop);
        return;
    }
    // A file that cannot be read, or whose date the lists do not hold, changes
    // nothing: a reading of some other date would look like the saved one.
    const ReadingFileContents file =
        ReadReadingFile(std::filesystem::path(QFile::encodeName(path).toStdString()));
    const int day = itemIndex(*ui->cboDate, file.lines.day);
    const int month = itemIndex(*ui->cboMonth, file.lines.monthName);
    const int year = itemIndex(*ui->cboYear, file.lines.year);
    if (file.status != ReadStatus::Read || day < 0 || month < 0 || year < 0) {
        platform().message(this, kCheckTheFile, Platform::Icon::Stop);
        return;
    }
    // The saved name goes in as it was saved, not through the typing filter.
    ui->txtName->setText(QString::fromStdString(file.lines.name));
    ui->cboDate->setCurrentIndex(day);
    ui->cboMonth->setCurrentIndex(month);
    ui->cboYear->setCurrentIndex(year);
    cmdNext_Click();
}

void frmMain::mnuOpenPreviouslySavedKarmic_Click() {
    cmdOpen_Click();
}

void frmMain::cmdExit_Click() {
    close();
}

void frmMain::mnuExit_Click() {
    cmdExit_Click();
}

void frmMain::mnuAbout_Click() {
    showAboutWindow(this);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->txtName && event->type() == QEvent::KeyPress) {
        auto& key = static_cast<QKeyEvent&>(*event);
        // Under some platform themes (GNOME's) the box keeps Enter from its window.
        if (!isPlainEnter(key))
            return filterNameKey(key);
        ui->cmdNext->click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::keyPressEvent(QKeyEvent* event) {
    if (!isPlainEnter(*event)) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    // Outside dialogs, buttons leave Enter to their window.
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    (button ? button : ui->cmdNext)->click();
}

void frmMain::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    ShutDownApplication(this);
}

void frmMain::readingWindowWentBack() {
    m_display.clear();
    show();
    activateWindow();
    if (m_focusBeforeReading)
        m_focusBeforeReading->setFocus();
}
