#pragma once

class QWidget;

// Adds a test failure for every label or button of `window` whose text does
// not fit inside it, and for every such widget that sticks out of its parent,
// so that no text of the window is cut off. Call it with the window shown.
void expectNoClippedText(QWidget& window);
