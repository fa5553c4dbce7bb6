#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmAbout;
}

// The About window: the program's name and version, a word about it, and links to
// the maker's web site. Modal over the whole program; it lives only while it is shown.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);
    ~frmAbout() override;

private slots:
    void lblHomePage_Click();
    void lblCoBrand_Click();
    void cmdOK_Click();

private:
    std::unique_ptr<Ui::frmAbout> ui;
};

// What the About menu entries run: shows the About window over `opener`, loading it
// unless it is loaded already, and returns at once. The window unloads itself when closed.
frmAbout* showAboutWindow(QWidget* opener);
