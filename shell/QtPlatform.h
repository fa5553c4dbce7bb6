#pragma once

#include "shell/Platform.h"

#include <random>

// The real dialogs, browser, clock and random generator.
class QtPlatform final : public Platform {
public:
    QtPlatform();

    Answer message(QWidget* parent, const QString& text, Icon icon, Buttons buttons) override;
    QString chooseFileToOpen(QWidget* parent, const FileDialog& dialog) override;
    QString chooseFileToSave(QWidget* parent, const FileDialog& dialog) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer, bool offerSelection) override;
    void openUrl(const QUrl& url) override;
    QDate today() override;
    double nextRandom() override;
    void endProcess() override;

private:
    std::mt19937_64 m_random;
};
