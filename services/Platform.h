#pragma once

#include <QDate>
#include <QString>
#include <QUrl>

class QPrinter;
class QWidget;

// Everything that waits on the user or reaches outside the process: message
// boxes, file and print dialogs, the browser, today's date, the random draw
// and the end of the process. The program runs on QtPlatform; tests install a scripted fake, so no
// test ever waits on a modal dialog.
class Platform {
public:
    enum class Icon { Information, Stop };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    struct FileDialog {
        QString title;
        QString filter;        // in Qt's form, "Description (*.ext)"
        QString defaultSuffix; // added to a name typed without one
        QString folder = {};   // where the dialog opens; filled in by the choose functions
    };
    enum class FileDialogMode { Open, Save };

    virtual ~Platform() = default;

    // A modal message box titled with the application title.
    virtual Answer message(QWidget* parent, const QString& text, Icon icon,
                           Buttons buttons = Buttons::Ok) = 0;
    // The chosen path, or an empty string when the user cancels. The dialogs open in the
    // user's Documents folder, then in the folder of the last file chosen during the run.
    QString chooseFileToOpen(QWidget* parent, FileDialog dialog);
    QString chooseFileToSave(QWidget* parent, FileDialog dialog);
    // Lets the user set up `printer`; true when the user asked to print. The range
    // choice offers "selection" only when `offerSelection` is set, and then chooses it.
    // The output file proposed is `fileName` in the Documents folder until the user
    // has printed to a file, then that file.
    bool choosePrinter(QWidget* parent, QPrinter& printer, bool offerSelection,
                       const QString& fileName);
    // Hands the address to the user's browser without waiting or reporting.
    virtual void openUrl(const QUrl& url) = 0;
    virtual QDate today() = 0;
    // A draw in [0, 1) from a generator seeded once, from the clock.
    virtual double nextRandom() = 0;
    // Ends the program once control returns to the event loop.
    virtual void endProcess() = 0;

protected:
    virtual QString showFileDialog(QWidget* parent, const FileDialog& dialog,
                                   FileDialogMode mode) = 0;
    virtual bool showPrintDialog(QWidget* parent, QPrinter& printer, bool offerSelection) = 0;

private:
    QString chooseFile(QWidget* parent, FileDialog& dialog, FileDialogMode mode);

    QString m_lastFolder;
    QString m_lastPrintFile;
};

// The platform the program talks to: QtPlatform unless a test installed another.
Platform& platform();

// Installs `replacement` for the lifetime of the guard.
class ScopedPlatform {
public:
    explicit ScopedPlatform(Platform& replacement);
    ~ScopedPlatform();
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
    Platform* m_previous;
};
