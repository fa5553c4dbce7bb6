#pragma once

#include "ui/reading/ReportSource.h"

#include <QDialog>
#include <memory>

namespace Ui {
class ReportWindow;
}

// The report window: the reading laid out as a formatted report that the user
// prints, and the place where the reading is saved as a reading file. Each
// Print of the reading window creates a new one; closing it deletes it.
class ReportWindow : public QDialog {
    Q_OBJECT

public:
    // Creates the window and composes the report from `source`. The window is
    // application modal and deletes itself when closed.
    explicit ReportWindow(const ReportSource& source, QWidget* parent = nullptr);
    ~ReportWindow() override;

private slots:
    void saveReading();
    void print();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void composeReport(const ReportSource& source);
    void releaseReportLinks();

    std::unique_ptr<Ui::ReportWindow> ui;
};

// Creates a report window over `parent` and shows it modally without waiting for
// it: the caller goes on at once and the window lives until the user closes it.
ReportWindow* showReportWindow(QWidget* parent, const ReportSource& source);
