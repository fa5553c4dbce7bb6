#pragma once

#include <QDialog>
#include <memory>

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

private slots:
    void openHomePageLink();
    void openFullBrandLink();
    void okButtonClicked();

private:
    std::unique_ptr<Ui::AboutDialog> ui;
};

// What the About menu entries run: shows the About window over `opener`, loading it
// unless it is loaded already, and returns at once. The window unloads itself when closed.
AboutDialog* showAboutWindow(QWidget* opener);
