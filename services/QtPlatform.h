#pragma once

#include "services/Platform.h"

#include <random>

class QPrintDialog;

// The real dialogs, browser, clock and random generator.
class QtPlatform final : public Platform {
public:
    QtPlatform();

    Answer message(QWidget* parent, const QString& text, Icon icon, Buttons buttons) override;
    void openUrl(const QUrl& url) override;
    QDate today() override;
    double nextRandom() override;
    void endProcess() override;

protected:
    QString showFileDialog(QWidget* parent, const FileDialog& dialog, FileDialogMode mode) override;
    bool showPrintDialog(QWidget* parent, QPrinter& printer, bool offerSelection) override;

private:
    std::mt19937_64 m_random;
};

// Sets up the print dialog over `printer` as the program shows it.
void setUpPrintDialog(QPrintDialog& dialog, QPrinter& printer, bool offerSelection);
