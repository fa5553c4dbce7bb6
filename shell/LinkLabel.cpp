#include "shell/LinkLabel.h"

#include <QMouseEvent>

LinkLabel::LinkLabel(QWidget* parent)
    : QLabel(parent) {}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    // Only a release over the label counts, as with a button.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
