#pragma once

#include <QAccessible>
#include <QList>
#include <QString>

class QLabel;
class QWidget;

// Makes screen readers present the program's controls as a user sees them, and answer every
// question about them at once. A link label is a link that a screen reader can follow. A
// drop-down list tells its chosen item: as its text when it gets the focus, and as the item newly
// current when the arrow keys change it (Qt's own list leaves both unsaid). Text boxes and lists
// answer every query about their text (see AccessibleText). A plain frame is a grouping, or a
// separator when it is drawn as a line. Call once as the program starts, before any control is
// asked about; calling again does nothing.
void installAccessibleInterfaces();

// Has screen readers present `label` as a heading.
void presentAsHeading(QLabel& label);

// Has screen readers take `caption` as the label of `control`, in place of any label Qt finds.
void labelWith(QWidget& control, QLabel& caption);

// Has screen readers name `control` by the texts of `parts`, read in this order, as one name: a
// box is named by the captions and values that say what it holds. A screen reader speaks a name
// in its order, where it would take several labels in any order.
void nameAfter(QWidget& control, const QList<QWidget*>& parts);

// Has Enter (or Return) press the button that has the keyboard focus in `window`, as Space
// does; outside dialogs Qt's buttons leave Enter to their window.
void pressFocusedButtonsOnEnter(QWidget& window);

// For the program's own interfaces: the name that nameAfter gave `control`, or an empty text;
// and Qt's `relations` of `control` with the caption that labelWith gave it in place of the
// labels Qt finds, and with what it is the caption of.
QString presentedName(const QWidget& control);
using AccessibleRelations = QList<QPair<QAccessibleInterface*, QAccessible::Relation>>;
AccessibleRelations presentedRelations(const QWidget& control, AccessibleRelations relations,
                                       QAccessible::Relation match);
