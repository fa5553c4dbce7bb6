#pragma once

#include "ui/reading/ReportSource.h"

#include <QDialog>
#include <memory>

namespace Ui {
class frmSave;
}

// The report window: the reading laid out as a formatted report that the user
// prints, and the place where the reading is saved as a reading file. Each
// Print of the reading window loads a new one; closing it unloads it.
class frmSave : public QDialog {
    Q_OBJECT

public:
    // Loads the window and composes the report from `source`. The window is
    // application modal and deletes itself when closed.
    explicit frmSave(const ReportSource& source, QWidget* parent = nullptr);
    ~frmSave() override;

private slots:
    void cmdSave_Click();
    void cmdPrint_Click();
    void Label1_Click();
    void Label14_Click();
    void lblCobrand_Click();
    void lblFullBrand_Click();

protected:
    // Form_Unload.
    void closeEvent(QCloseEvent* event) override;

private:
    void ComposeReport(const ReportSource& source);
    void unloadReportLinks();

    std::unique_ptr<Ui::frmSave> ui;
};

// Loads a report window over `parent` and shows it modally without waiting for
// it: the caller goes on at once and the window lives until the user closes it.
frmSave* showReportWindow(QWidget* parent, const ReportSource& source);
