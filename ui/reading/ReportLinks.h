#pragma once

#include <QPointer>
#include <QTextEdit>

class QEvent;

// The report window's link handling: a filter stands in front of the report
// box's own handling of mouse events and opens the web address that the user
// presses the left button on. There is one report window at a time, so one state.
struct ReportLinkState {
    QPointer<QObject> filter; // the filter in front of the box; null while handling is off
    QPointer<QTextEdit> box;
    QPointer<QWidget> window;
};

// Empty while link handling is off.
const ReportLinkState& reportLinkState();

// Puts the link filter in front of `box` and switches on its detection of web
// addresses, for the report window `window`. Handling enabled for another box
// before is switched off first.
void enableReportLinks(QTextEdit* box, QWidget* window);

// The filter's handling of an event on its way to the box. A left-button press
// on a link hands the link's text, at most 1,024 characters of it, to the
// browser; over a link the pointer is a pointing hand. The event always goes
// on to the box, which handles it as if no filter stood in front of it.
void handleReportLinkEvent(QObject* watched, QEvent* event);

// Removes the filter and switches the box's detection off. Does nothing while
// handling is off.
void disableReportLinks();
