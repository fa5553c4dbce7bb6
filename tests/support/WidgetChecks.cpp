#include "tests/support/WidgetChecks.h"

#include <QAbstractButton>
#include <QLabel>
#include <QStyle>
#include <gtest/gtest.h>

void expectNoClippedText(QWidget& window) {
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        const auto* label = qobject_cast<const QLabel*>(widget);
        const auto* button = qobject_cast<const QAbstractButton*>(widget);
        // Hidden widgets (such as a menu bar's overflow button) show no text.
        if ((!label && !button) || !widget->isVisibleTo(&window))
            continue;
        const std::string name = widget->objectName().toStdString();
        EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry()))
            << name << " sticks out of " << widget->parentWidget()->objectName().toStdString();
        QRect area;
        int flags = Qt::TextShowMnemonic;
        if (label) {
            if (label->text().isEmpty() || !label->pixmap().isNull() ||
                label->textFormat() == Qt::RichText)
                continue;
            const int margin = label->margin();
            area = label->contentsRect().adjusted(margin, margin, -margin, -margin);
            flags |= int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        } else if (const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin);
                   button->property("wordWrap").toBool()) {
            // A button that wraps its caption needs room for every line.
            area = button->rect().adjusted(margin, margin, -margin, -margin);
            flags |= Qt::AlignCenter | Qt::TextWordWrap;
        } else {
            area = QRect(0, 0, button->width() - margin, button->height());
        }
        const QString text = label ? label->text() : button->text();
        const QRect needed = widget->fontMetrics().boundingRect(area, flags, text);
        EXPECT_TRUE(needed.width() <= area.width() && needed.height() <= area.height())
            << name << " cuts off \"" << text.toStdString() << '"';
    }
}
