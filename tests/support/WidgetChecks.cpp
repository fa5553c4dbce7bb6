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
    QString text = button.text();
    text.remove(QLatin1Char('&'));
    const int margin = button.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
    EXPECT_LE(button.fontMetrics().horizontalAdvance(text) + margin, button.width())
        << describe(button).toStdString() << " is too narrow";
    EXPECT_LE(button.fontMetrics().height(), button.height())
        << describe(button).toStdString() << " is too low";
}

} // namespace

void expectNoClippedText(QWidget& window) {
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        expectLabelFits(*label);
        expectInsideParent(*label);
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        expectButtonFits(*button);
        expectInsideParent(*button);
    }
}
