#include "ui/common/LabelFit.h"

#include <QLabel>
#include <algorithm>

namespace {

// The room around the text inside the label: frame, contents margins and margin.
QSize chromeOf(const QLabel& label) {
    const QRect contents = label.contentsRect();
    return label.size() - contents.size() + QSize(2 * label.margin(), 2 * label.margin());
}

QSize textSize(const QLabel& label, int wrapWidth) {
    // Without a buddy a label shows '&' as it is, so it is measured as it is.
    const int flags = int(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0) |
                      (label.buddy() ? Qt::TextShowMnemonic : 0);
    const int unbounded = 1 << 20;
    const QRect area(0, 0, label.wordWrap() ? wrapWidth : unbounded, unbounded);
    return label.fontMetrics().boundingRect(area, flags, label.text()).size();
}

QRect fittedGeometry(const QLabel& label, const QRect& designGeometry) {
    const QRect bounds = label.parentWidget() ? label.parentWidget()->rect() : designGeometry;
    const QSize chrome = chromeOf(label);
    const int width = std::min(designGeometry.width(), bounds.width());
    const QSize needed = textSize(label, width - chrome.width()) + chrome;

    const QSize size = designGeometry.size().expandedTo(needed).boundedTo(bounds.size());
    QRect placed(QPoint(), size);
    placed.moveCenter(designGeometry.center());
    placed.moveLeft(std::clamp(placed.left(), bounds.left(), bounds.right() + 1 - size.width()));
    placed.moveTop(std::clamp(placed.top(), bounds.top(), bounds.bottom() + 1 - size.height()));
    return placed;
}

} // namespace

void fitLabelToText(QLabel& label, const QRect& designGeometry) {
    label.setGeometry(fittedGeometry(label, designGeometry));
}

void fitLabelsToText(const QList<QLabel*>& labels, const QRect& designGeometry) {
    QRect shared;
    for (const QLabel* label : labels)
        shared |= fittedGeometry(*label, designGeometry);
    for (QLabel* label : labels)
        label->setGeometry(shared);
}
