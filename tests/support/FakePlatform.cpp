#include "tests/support/FakePlatform.h"

Platform::Answer FakePlatform::message(QWidget*, const QString& text, Icon icon, Buttons buttons) {
    messages.append({text, icon, buttons});
    if (onMessage)
        onMessage(messages.constLast());
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
}

QString FakePlatform::showFileDialog(QWidget*, const FileDialog& dialog, FileDialogMode) {
    fileDialogs.append(dialog);
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

bool FakePlatform::showPrintDialog(QWidget*, QPrinter& printer, bool offerSelection) {
    return printDialog && printDialog(printer, offerSelection);
}

void FakePlatform::openUrl(const QUrl& url) {
    openedUrls.append(url);
    if (onOpenUrl)
        onOpenUrl(url);
}
