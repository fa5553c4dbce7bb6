#include "tests/support/WidgetChecks.h"

#include <QAbstractButton>
#include <QLabel>
#include <QStyle>
#include <gtest/gtest.h>

namespace {

QString describe(const QWidget& widget) {
    return widget.objectName() + QStringLiteral(" \"") +
           (qobject_cast<const QLabel*>(&widget)
                ? qobject_cast<const QLabel*>(&widget)->text()
                : qobject_cast<const QAbstractButton*>(&widget)->text())
               .left(40) +
           QStringLiteral("\"");
}

void expectInsideParent(const QWidget& widget) {
    const QWidget* parent = widget.parentWidget();
    if (!parent || widget.isWindow())
        return;
    EXPECT_TRUE(parent->rect().contains(widget.geometry()))
        << describe(widget).toStdString() << " sticks out of "
        << parent->objectName().toStdString();
}

void expectLabelFits(const QLabel& label) {
    if (label.text().isEmpty() || !label.pixmap().isNull() || label.textFormat() == Qt::RichText)
        return;
    const QRect area = label.contentsRect().adjusted(label.margin(), label.margin(),
                                                     -label.margin(), -label.margin());
    const int flags =
        int(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0) | Qt::TextShowMnemonic;
    const QRect needed = label.fontMetrics().boundingRect(area, flags, label.text());
    EXPECT_LE(needed.width(), area.width()) << describe(label).toStdString() << " is too narrow";
    EXPECT_LE(needed.height(), area.height()) << describe(label).toStdString() << " is too low";
}

void expectButtonFits(const QAbstractButton& button) {
    const int margin = button.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
    // A button that wraps its caption (property "wordWrap") needs room for every line.
    if (button.property("wordWrap").toBool()) {
        const QRect area = button.rect().adjusted(margin, margin, -margin, -margin);
        const QRect needed = button.fontMetrics().boundingRect(
            area, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, button.text());
        EXPECT_TRUE(area.contains(needed)) << describe(button).toStdString() << " is too small";
        return;
    }
    QString text = button.text();
    text.remove(QLatin1Char('&'));
    EXPECT_LE(button.fontMetrics().horizontalAdvance(text) + margin, button.width())
        << describe(button).toStdString() << " is too narrow";
    EXPECT_LE(button.fontMetrics().height(), button.height())
        << describe(button).toStdString() << " is too low";
}

} // namespace

void expectNoClippedText(QWidget& window) {
    // Hidden widgets (such as a menu bar's overflow button) show no text.
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&window))
            continue;
        expectLabelFits(*label);
        expectInsideParent(*label);
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(&window))
            continue;
        expectButtonFits(*button);
        expectInsideParent(*button);
    }
}
