#pragma once

#include <QColor>
#include <QList>
#include <utility>

class QWidget;

// Adds a test failure for every label or button of `window` whose text does
// not fit inside it, and for every such widget that sticks out of its parent,
// so that no text of the window is cut off. Call it with the window shown.
void expectNoClippedText(QWidget& window);

// Adds a test failure for every text that `window` shows at a contrast below 3:1
// against the background it is drawn on, unless the two colours are one of
// `fixedPairs` (text, background); and for every button that a click cannot reach:
// outside the free area of the window's screen, or covered, even once scrolled into
// view. Call it with the window shown.
void expectReadableTextAndButtonsWithinReach(QWidget& window,
                                             const QList<std::pair<QColor, QColor>>& fixedPairs);

class QAccessibleInterface;

// Every object of the accessibility tree of `window`, the window first, as a screen reader
// finds them by asking for children.
QList<QAccessibleInterface*> accessibleTree(QWidget& window);

// Asks each of `objects` that has a text every query about it: the text before, at and after
// every offset from -1 to its length + 1 for every boundary, each character's place and format,
// the caret and the selection; and each object its name, relations and actions. Fails on an
// answer that is not sound, and ends the test program when one is not given within seconds (a
// query that loops for ever never returns to be failed).
void expectEveryQueryAnsweredSoundly(const QList<QAccessibleInterface*>& objects);
