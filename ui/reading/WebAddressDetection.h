#pragma once

#include <QPoint>
#include <QString>

class QTextCharFormat;
class QTextEdit;

// Automatic detection of web addresses in a text box. While it is on, every
// http or https address that lies wholly in text written in a format passed
// through allowWebAddresses is marked as a link: an anchor whose target is the
// address, underlined, in the colour of the text around it. The marks follow the
// text as it changes, so text written after a link never carries the link's
// format on. Switching detection off leaves the marks made.
void setWebAddressDetection(QTextEdit& box, bool on);
bool webAddressDetection(const QTextEdit& box);

// Lets detection find addresses in text written in `format`. Only text that the
// program writes itself should have it: an address in text that came from a
// file would otherwise open, at a click, wherever the file pointed.
void allowWebAddresses(QTextCharFormat& format);

// The text of the detected link under `viewportPoint`, empty when no link is there.
QString linkTextAt(const QTextEdit& box, QPoint viewportPoint);
