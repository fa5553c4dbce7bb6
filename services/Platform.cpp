#include "services/Platform.h"

#include "services/QtPlatform.h"

#include <QDir>
#include <QPrinter>
#include <QStandardPaths>

namespace {

Platform* installed = nullptr;

// The user's Documents folder, or the home folder where there is none. A dialog given a folder
// that does not exist opens in its parent with the rest typed as the file name; so does one
// whose path is not UTF-8, which Qt cannot name. The nearest folder that exists is taken.
QString documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (QDir(documents).exists())
        return documents;
    QString folder = QDir::homePath();
    while (!QFileInfo(folder).isDir() && QFileInfo(folder).path() != folder)
        folder = QFileInfo(folder).path();
    return QFileInfo(folder).isDir() ? folder : QDir::rootPath();
}

} // namespace

QString Platform::chooseFileToOpen(QWidget* parent, FileDialog dialog) {
    return chooseFile(parent, dialog, FileDialogMode::Open);
}

QString Platform::chooseFileToSave(QWidget* parent, FileDialog dialog) {
    return chooseFile(parent, dialog, FileDialogMode::Save);
}

QString Platform::chooseFile(QWidget* parent, FileDialog& dialog, FileDialogMode mode) {
    dialog.folder = m_lastFolder.isEmpty() ? documentsFolder() : m_lastFolder;
    const QString path = showFileDialog(parent, dialog, mode);
    if (!path.isEmpty())
        m_lastFolder = QFileInfo(path).absolutePath();
    return path;
}

bool Platform::choosePrinter(QWidget* parent, QPrinter& printer, bool offerSelection,
                             const QString& fileName) {
    printer.setOutputFileName(m_lastPrintFile.isEmpty() ? QDir(documentsFolder()).filePath(fileName)
                                                        : m_lastPrintFile);
    // The file is only proposed: the system's default printer, where there is one, stays chosen.
    printer.setOutputFormat(QPrinter::NativeFormat);
    if (!showPrintDialog(parent, printer, offerSelection))
        return false;
    if (printer.outputFormat() == QPrinter::PdfFormat)
        m_lastPrintFile = printer.outputFileName();
    return true;
}

Platform& platform() {
    static QtPlatform qtPlatform;
    return installed ? *installed : qtPlatform;
}

ScopedPlatform::ScopedPlatform(Platform& replacement)
    : m_previous(installed) {
    installed = &replacement;
}

ScopedPlatform::~ScopedPlatform() {
    installed = m_previous;
}
