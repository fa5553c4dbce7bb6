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
