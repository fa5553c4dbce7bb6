#pragma once

#include <QString>

// What the report is composed from, taken from the reading window and the main
// window's date lists at the moment the report window opens.
struct ReportSource {
    QString name;      // the current reading's name
    QString birthDate; // month/day/year as the main window's lists show them, e.g. "March/7/1975"
    QString northNodeExplanation;
    QString northSign;
    QString northKeywords;
    QString northDescription;
    QString southNodeExplanation;
    QString southSign;
    QString southKeywords;
    QString southDescription;
};
