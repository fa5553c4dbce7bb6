#pragma once

#include <QPoint>
#include <QString>

class QTextEdit;

// Automatic detection of web addresses in a text box. While it is on, every
// http or https address in the box's text is marked as a link: an anchor whose
// target is the address, underlined, in the colour of the text around it. The
// marks follow the text as it changes, so text written after a link never
// carries the link's format on. Switching detection off leaves the marks made.
void setWebAddressDetection(QTextEdit& box, bool on);
bool webAddressDetection(const QTextEdit& box);

// The text of the detected link under `viewportPoint`, empty when no link is there.
QString linkTextAt(const QTextEdit& box, QPoint viewportPoint);
