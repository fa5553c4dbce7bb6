#pragma once

#include "services/Platform.h"

#include <QList>
#include <QQueue>
#include <functional>
#include <ostream>

// A scripted platform: records what the program shows and opens, and answers
// from queues filled by the test. An empty queue answers OK, No, cancel.
class FakePlatform final : public Platform {
public:
    struct Message {
        QString text;
        Icon icon;
        Buttons buttons;
        friend bool operator==(const Message&, const Message&) = default;
    };

    Answer message(QWidget* parent, const QString& text, Icon icon, Buttons buttons) override;
    void openUrl(const QUrl& url) override;
    QDate today() override { return todayDate; }
    double nextRandom() override { return randomDraws.isEmpty() ? 0.0 : randomDraws.dequeue(); }
    void endProcess() override { ++processEnds; }

    // Scripted answers.
    QQueue<Answer> answers;
    QQueue<QString> fileNames;
    // Called with the printer when the print dialog would be shown; returns whether to print.
    std::function<bool(QPrinter&, bool offerSelection)> printDialog;
    QDate todayDate{2026, 1, 15};
    QQueue<double> randomDraws;
    // Run at the moment a message box would show or a page would open, to see the
    // program's state right then.
    std::function<void(const Message&)> onMessage;
    std::function<void(const QUrl&)> onOpenUrl;

    // What the program did.
    QList<Message> messages;
    QList<FileDialog> fileDialogs;
    QList<QUrl> openedUrls;
    int processEnds = 0;

protected:
    // Both file dialogs answer from the one queue of names.
    QString showFileDialog(QWidget* parent, const FileDialog& dialog, FileDialogMode mode) override;
    bool showPrintDialog(QWidget* parent, QPrinter& printer, bool offerSelection) override;

private:
    // Installed for the fake's own lifetime.
    ScopedPlatform m_installed{*this};
};

// Let test failures show texts and messages as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const FakePlatform::Message& message, std::ostream* out) {
    *out << message.text.toStdString() << " icon " << int(message.icon) << " buttons "
         << int(message.buttons);
}
