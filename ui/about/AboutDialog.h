#pragma once

#include <QDialog>
#include <memory>

class QAction;

namespace Ui {
class AboutDialog;
}

// The About window: the program's name and version, a word about it, and links to
// the maker's web site. Modal over the whole program; it lives only while it is shown.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);
    ~AboutDialog() override;

private:
    std::unique_ptr<Ui::AboutDialog> ui;
};

// What the About menu entries run: shows the About window over `opener`, creating it
// unless it is open already, and returns at once. The window deletes itself when closed.
AboutDialog* showAboutWindow(QWidget* opener);

// Has `action` show the About window over `opener`.
void connectAbout(const QAction& action, QWidget* opener);
