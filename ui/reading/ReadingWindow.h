#pragma once

#include "engine/SignCatalogue.h"
#include "ui/reading/ReportSource.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <memory>

class QLabel;

namespace Ui {
class ReadingWindow;
}

// The reading window: both nodes side by side, each with its fixed explanation,
// its sign, its keywords and its description. It computes nothing; the main
// window has the catalogue fill it, writes the signs and shows it.
class ReadingWindow : public QMainWindow, public ReadingTexts {
    Q_OBJECT

public:
    ReadingWindow();
    ~ReadingWindow() override;

    void setNorthKeywords(std::string_view keywords) override;
    void setNorthDescription(std::string_view description) override;
    void setSouthKeywords(std::string_view keywords) override;
    void setSouthDescription(std::string_view description) override;
    void setNorthSign(const QString& sign);
    void setSouthSign(const QString& sign);
    // The birth date for the report, month/day/year as the main window's lists show it.
    void setBirthDate(const QString& birthDate);

    // Everything a report of the reading on screen is composed from.
    ReportSource reportSource() const;

public slots:
    void showReport();
    void goBack();

signals:
    // Emitted by Back once the window is closed; the main window shows itself again.
    void wentBack();

protected:
    // Closing ends the program unless the window closes to go back.
    void closeEvent(QCloseEvent* event) override;

private:
    void showFitted(QLabel& label, const QString& text);

    std::unique_ptr<Ui::ReadingWindow> ui;
    QString m_birthDate;
    QHash<const QLabel*, QRect> m_designGeometry;
    bool m_goingBack = false;
};
