#include "services/QtPlatform.h"

#include "services/ApplicationInfo.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

QtPlatform::QtPlatform()
    : m_random(static_cast<std::mt19937_64::result_type>(QDateTime::currentMSecsSinceEpoch())) {}

Platform::Answer QtPlatform::message(QWidget* parent, const QString& text, Icon icon,
                                     Buttons buttons) {
    // A carriage return alone would not break the line on screen.
    QMessageBox box(
        icon == Icon::Stop ? QMessageBox::Critical : QMessageBox::Information, kApplicationTitle,
        QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')),
        buttons == Buttons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Ok;
    }
}

QString QtPlatform::showFileDialog(QWidget* parent, const FileDialog& request,
                                   FileDialogMode mode) {
    QFileDialog dialog(parent, request.title, request.folder, request.filter);
    dialog.setAcceptMode(mode == FileDialogMode::Open ? QFileDialog::AcceptOpen
                                                      : QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setFileMode(mode == FileDialogMode::Open ? QFileDialog::ExistingFile
                                                    : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool QtPlatform::showPrintDialog(QWidget* parent, QPrinter& printer, bool offerSelection) {
    QPrintDialog dialog(&printer, parent);
    setUpPrintDialog(dialog, printer, offerSelection);
    return dialog.exec() == QDialog::Accepted;
}

void setUpPrintDialog(QPrintDialog& dialog, QPrinter& printer, bool offerSelection) {
    // The page range stays offered: Qt offers it for every CUPS queue whatever the options say,
    // and only with the option on does the dialog hand the pages chosen to the program, for a
    // PDF file as for a queue, where it would otherwise pass them to the server or drop them.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, offerSelection);
    printer.setPrintRange(offerSelection ? QPrinter::Selection : QPrinter::AllPages);
    // Qt 6.4's field for a print server's page list refuses every entry ("Invalid Pages
    // Definition"); "Pages from ... to" chooses the pages instead.
    for (const char* field : {"pagesRadioButton", "pagesLineEdit"})
        if (auto* widget = dialog.findChild<QWidget*>(QLatin1String(field)))
            widget->hide();
}

void QtPlatform::endProcess() {
    QApplication::quit();
}

void QtPlatform::openUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

QDate QtPlatform::today() {
    return QDate::currentDate();
}

double QtPlatform::nextRandom() {
    // The top 53 bits give every double in [0, 1) that is a multiple of 2^-53, never 1.
    return static_cast<double>(m_random() >> 11) * 0x1.0p-53;
}
