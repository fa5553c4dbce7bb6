#pragma once

#include "shell/Application.h"
#include "tests/support/FakePlatform.h"

#include <QByteArray>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>

class QPrinter;
class QWidget;

// What a run of the exercise did, to show that it went everywhere.
struct ExerciseTally {
    int steps = 0;
    int programStarts = 0;
    int readingsShown = 0;
    int reportsShown = 0;
    int aboutsShown = 0;
    int savesWritten = 0;
    int savesRefused = 0;
    int opensShown = 0;
    int opensRefused = 0;
    int dialogsCancelled = 0;
    int printedToPdf = 0;
    int pagesOpened = 0;
    int messages = 0;
    int updateOffers = 0;
};

// Drives the program's own windows in this process as a restless user would: clicks on
// buttons, links and anywhere else, keys, menu entries and close boxes, in random order
// from one seed, with every file, print and Yes/No dialog answered at random from a
// script. After every step it checks which windows are loaded and what they show; when
// the program ends it checks that nothing is left and starts the program again.
class WindowExercise {
public:
    explicit WindowExercise(std::uint64_t seed);
    WindowExercise(const WindowExercise&) = delete;
    WindowExercise& operator=(const WindowExercise&) = delete;

    // Runs up to `steps` steps and ends the program. Returns the first broken rule, with
    // the steps that led to it, or nothing when every step kept every rule.
    std::optional<QString> run(int steps);

    const ExerciseTally& tally() const { return m_tally; }

private:
    // The program, as the user starts it.
    void startProgram();
    void endProgram();
    void step();
    void scriptDialogAnswers();
    QString answerForFileDialog();
    bool answerPrintDialog(QPrinter& printer);

    // The window that takes the user's input: an open menu or drop-down list, the modal
    // window shown last, or else the one visible window.
    QWidget* frontWindow() const;
    void actOn(QWidget& window);
    void actOnPopup(QWidget& popup);
    void clickControl(QWidget& window);
    void clickAnywhere(QWidget& window);
    void chooseMenuEntry(QWidget& window);
    void typeInName(QWidget& mainWindow);
    void chooseDate(QWidget& mainWindow);
    void pasteIntoName(QWidget& mainWindow);
    void pressKey(QWidget& window);
    void selectReportText(QWidget& reportWindow);
    void closeBox(QWidget& window);
    void click(QWidget& window, QPoint pointInWindow, bool twice);

    // Lets the event loop run and deferred deletes happen, as between two user actions.
    static void settle();
    // The platform's records then hold only what the next step or start does.
    void forgetWhatThePlatformSaw();
    void checkAfterStep();
    void checkWindows();
    void checkReading(QWidget& mainWindow, QWidget& readingWindow);
    void checkReport(QWidget& mainWindow, QWidget& report);
    void checkFileDialog(const Platform::FileDialog& dialog, const QStringList& newMessages);
    void checkNothingLoaded(const char* when);
    void checkFolderHoldsOnlyOurFiles();
    void fail(const QString& rule);

    int uniform(int low, int high);
    bool chance(double probability);
    void note(const QString& action);

    std::mt19937_64 m_random;
    std::uint64_t m_seed;
    // Every step is printed as it is taken, so that a crash shows the steps that led to it.
    bool m_trace;
    FakePlatform m_fake;
    QTemporaryDir m_files;
    std::optional<SingleInstanceLock> m_lock;
    QList<QWidget*> m_baselineTopLevels;
    int m_seenProcessEnds = 0;
    int m_stepIndex = 0;

    // This step's file answer, and what was at its path before the step.
    QString m_fileAnswer;
    QByteArray m_targetBefore;
    QStringList m_pdfsPrinted;
    // The windows seen last, to count each one once.
    QPointer<QWidget> m_lastDisplay, m_lastReport, m_lastAbout;

    std::deque<QString> m_recentSteps;
    std::optional<QString> m_failure;
    ExerciseTally m_tally;
};
