#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>

class QKeyEvent;
class ReadingWindow;

namespace Ui {
class MainWindow;
}

// The main window: the user types a name and picks a birth date, and gets the
// reading in the reading window, or opens a reading saved earlier. It is created
// once, hidden while a reading is shown, and closing it ends the program.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Checks name and date, telling the user what is wrong; true when a reading can start.
    bool validateBirthData();

    // What the open button does once the user has chosen `path`: refuses a name that does not
    // end in "nrd" or a file that holds no reading, or puts the reading's name and date into
    // the fields and starts the reading. Nothing happens for an empty path. The path is bytes,
    // as the file system has it.
    void openReadingFile(const std::string& path);
    // What the reading window's Back does, where that window is up.
    void backFromReading();
    // The reading window while it is up, else the main window.
    QWidget* windowInFront();

    // The two offers share one place; the one brought to the front hides the other.
    enum class Offer { CoBrand, FullBrand };
    void bringToFront(Offer offer);

public slots:
    void showReading();
    void openSavedReading();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Enter starts the reading, unless a focused button takes it (pressFocusedButtonsOnEnter).
    void keyPressEvent(QKeyEvent* event) override;
    // Closing ends the program.
    void closeEvent(QCloseEvent* event) override;

private:
    // The birth date as the lists show it, month/day/year, e.g. "March/7/1975".
    QString birthDateText() const;
    void fillDateLists();
    // The name filter for one typed character code: the code to type, changed
    // to a capital for a lower-case letter, or 0 when the character is refused.
    char16_t acceptedNameCharacter(char16_t keyAscii);
    bool filterNameKey(QKeyEvent& event);
    void filterInsertedName(const QString& edited);
    void returnFromReading();

    std::unique_ptr<Ui::MainWindow> ui;
    QPointer<ReadingWindow> m_readingWindow;
    // The control that had the focus when the reading started, to have it again after Back.
    QPointer<QWidget> m_focusBeforeReading;
    // nameEdit's text before the edit that textEdited reports.
    QString m_nameBeforeEdit;
};
