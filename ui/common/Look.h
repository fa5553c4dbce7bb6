#pragma once

#include <QColor>
#include <QFont>

class QAbstractScrollArea;

// The look of the program's windows, set on each widget rather than through style
// sheets, so that nothing one window sets reaches another window. Where a window fixes
// a background it also fixes the colour of the text on it, and the other way round, so
// that every text stays readable whatever the desktop's theme; the rest (buttons, lists,
// menus, scroll bars) follows the theme.
namespace look {

inline const QColor kBlack{0, 0, 0};
inline const QColor kWhite{255, 255, 255};
inline const QColor kSalmon{249, 151, 142};
inline const QColor kPaleYellow{255, 255, 192};  // the panels that hold captions
inline const QColor kLightYellow{255, 255, 128}; // text on salmon or black
inline const QColor kLinkBlue{0, 0, 160};

enum Emphasis { Regular = 0, Bold = 1, Underlined = 2 };

QFont verdana(qreal points, int emphasis = Regular);

// The colour the widget's captions and those of the labels on it are drawn in.
void setTextColour(QWidget& widget, const QColor& colour);

// Paints `colour` behind the widget. Unlike a palette colour it does not reach the
// widgets on it, so their frames and bevels keep the theme's shades.
void setBackground(QWidget& widget, const QColor& colour);

// The colours of a text box's text and of the paper it is written on.
void setPaper(QAbstractScrollArea& box, const QColor& paper, const QColor& ink);

// Fills `box`, frame and all, with `colour`, and shades the frame's line from that colour
// rather than from the theme's window colour. The scroll bars keep the theme's colours.
void setFrameBackground(QAbstractScrollArea& box, const QColor& colour);

// On a screen whose free area is smaller than `window`, which cannot shrink, with the frame
// that a window manager draws around it, puts `content` (everything the window shows below its
// menu bar) under scroll bars and makes the window, frame and all, as large as that area, so that
// every control can be reached. The focus keeps the window's own order and scrolls the control
// that gets it into view. Where the window fits, nothing changes.
void fitToScreen(QWidget& window, QWidget& content);

} // namespace look
