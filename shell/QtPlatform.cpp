#include "shell/QtPlatform.h"

#include "shell/ApplicationInfo.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace {

QString runFileDialog(QWidget* parent, const Platform::FileDialog& request,
                      QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title, QString(), request.filter);
    dialog.setAcceptMode(mode);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

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

QString QtPlatform::chooseFileToOpen(QWidget* parent, const FileDialog& dialog) {
    return runFileDialog(parent, dialog, QFileDialog::AcceptOpen);
}

QString QtPlatform::chooseFileToSave(QWidget* parent, const FileDialog& dialog) {
    return runFileDialog(parent, dialog, QFileDialog::AcceptSave);
}

bool QtPlatform::choosePrinter(QWidget* parent, QPrinter& printer, bool offerSelection) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, offerSelection);
    printer.setPrintRange(offerSelection ? QPrinter::Selection : QPrinter::AllPages);
    return dialog.exec() == QDialog::Accepted;
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
