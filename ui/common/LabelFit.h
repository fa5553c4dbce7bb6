#pragma once

#include <QList>
#include <QRect>

class QLabel;

// Places `label` at `designGeometry`, grown about that box's centre where its
// text needs more room, and kept inside its parent. A substituted font or a
// long reading text thus never cuts a caption off, while every caption that
// fits stays exactly where the form puts it. Call it with the label polished
// (its style sheet font applied) and again whenever its text changes.
void fitLabelToText(QLabel& label, const QRect& designGeometry);

// The same for labels that share one box (only the one in front shows): they
// keep sharing it, grown to fit the longest text.
void fitLabelsToText(const QList<QLabel*>& labels, const QRect& designGeometry);
