#include "tests/support/WidgetChecks.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTextEdit>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <tuple>
#include <unistd.h>

namespace {

// As the Web Content Accessibility Guidelines define it: from 1 to 21.
double contrast(const QColor& one, const QColor& other) {
    const auto luminance = [](const QColor& colour) {
        const auto linear = [](double value) {
            return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    const auto [dark, light] = std::minmax({luminance(one), luminance(other)});
    return (light + 0.05) / (dark + 0.05);
}

// Where `widget` shows text, inside any frame, and the colours of a text box's text;
// none where only the pixels tell.
std::pair<QRect, QList<QColor>> textOf(const QWidget& widget) {
    if (const auto* panel = qobject_cast<const QGroupBox*>(&widget)) // its caption
        return {panel->title().isEmpty() ? QRect() : QRect(2, 2, widget.width() - 4, 12), {}};
    const auto* rich = qobject_cast<const QTextEdit*>(&widget);
    const auto* plain = qobject_cast<const QPlainTextEdit*>(&widget);
    if (rich || plain) {
        QList<QColor> inks{widget.palette().color(QPalette::Text)};
        for (const QTextFormat& format :
             (rich ? rich->document() : plain->document())->allFormats())
            if (format.hasProperty(QTextFormat::ForegroundBrush))
                inks << format.foreground().color();
        return {static_cast<const QAbstractScrollArea&>(widget).viewport()->geometry(), inks};
    }
    const bool showsText = !widget.property("text").toString().isEmpty() ||
                           !widget.property("currentText").toString().isEmpty();
    return {showsText ? widget.rect().adjusted(3, 3, -3, -3) : QRect(), {}};
}

// The question being asked. A query that loops for ever never returns to be failed: an alarm
// ends the test program when one stays unanswered for five seconds.
char question[200];

void unanswered(int) {
    const char said[] = "No answer within 5 s to ";
    std::ignore = ::write(STDERR_FILENO, said, sizeof said - 1);
    std::ignore = ::write(STDERR_FILENO, question, std::strlen(question));
    std::abort();
}

struct Part {
    QString text;
    int start = 0;
    int end = 0;
};

// What is wrong with the parts of `whole` before, at and after `offset`, or nothing.
std::string faultOf(const QString& whole, int offset, QAccessible::TextBoundaryType boundary,
                    const Part (&parts)[3]) {
    const auto length = static_cast<int>(whole.size());
    const auto [before, at, after] = parts;
    if (offset > length)
        return std::ranges::all_of(parts, [](const Part& p) { return p.text.isEmpty(); })
                   ? ""
                   : "a part beyond the end";
    for (const Part& part : parts)
        if (part.start < 0 || part.start > part.end || part.end > length ||
            part.text != whole.mid(part.start, part.end - part.start))
            return "a part that is not the text between its offsets";
    const int place = offset == -1 ? length : offset;
    if (place < length ? at.start > place || at.end <= place : at.end != length)
        return "a part not at the offset";
    if (length > 0 && at.text.isEmpty() &&
        !(boundary == QAccessible::CharBoundary && place == length))
        return "an empty part in a text";
    if (before.end != at.start || after.start != at.end)
        return "parts before or after that do not adjoin the part at the offset";
    if (boundary == QAccessible::NoBoundary && at.text != whole)
        return "not the whole text";
    return {};
}

void askEverything(QAccessibleInterface& object) {
    const QString who = QString::number(object.role(), 16) + u' ' + object.text(QAccessible::Name);
    const auto ask = [&](const char* what, int offset, auto&& query) {
        std::snprintf(question, sizeof question, "%s(%d) of %s\n", what, offset, qPrintable(who));
        ::alarm(5);
        query();
        ::alarm(0);
    };
    ask("relations, actions", 0, [&] {
        object.relations();
        if (QAccessibleActionInterface* actions = object.actionInterface())
            actions->actionNames();
    });
    QAccessibleTextInterface* text = object.textInterface();
    if (!text)
        return;
    const int length = text->characterCount();
    const QString whole = text->text(0, length);
    const int caret = text->cursorPosition();
    int faults = 0;
    int start = 0;
    int end = 0;
    for (const auto boundary :
         {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
          QAccessible::ParagraphBoundary, QAccessible::LineBoundary, QAccessible::NoBoundary})
        for (int offset = -1; offset <= length + 1; ++offset) {
            Part parts[3];
            auto& [before, at, after] = parts;
            ask("text parts", offset, [&] {
                before.text = text->textBeforeOffset(offset, boundary, &before.start, &before.end);
                at.text = text->textAtOffset(offset, boundary, &at.start, &at.end);
                after.text = text->textAfterOffset(offset, boundary, &after.start, &after.end);
            });
            if (const std::string fault = faultOf(whole, offset, boundary, parts);
                !fault.empty() && ++faults <= 3)
                ADD_FAILURE() << who.toStdString() << ": " << fault << " at " << offset
                              << " for boundary " << boundary << ": '" << at.text.toStdString()
                              << "' " << at.start << '-' << at.end;
        }
    for (int offset = -1; offset <= length + 1; ++offset)
        ask("character place", offset, [&] {
            text->attributes(offset, &start, &end);
            text->offsetAtPoint(text->characterRect(offset).center());
        });
    ask("selection", length + 1, [&] {
        text->setSelection(0, -5, length + 5);
        text->addSelection(length, 0);
        for (int index = -1; index <= text->selectionCount(); ++index)
            text->selection(index, &start, &end);
        text->removeSelection(1);
        text->removeSelection(0);
        text->setCursorPosition(length + 1);
        text->scrollToSubstring(-1, length + 1);
        EXPECT_TRUE(text->cursorPosition() >= 0 && text->cursorPosition() <= length)
            << who.toStdString();
        text->setCursorPosition(caret);
    });
    EXPECT_EQ(text->text(0, length), whole) << who.toStdString() << " changed";
}

} // namespace

QList<QAccessibleInterface*> accessibleTree(QWidget& window) {
    QList<QAccessibleInterface*> tree{QAccessible::queryAccessibleInterface(&window)};
    for (qsizetype next = 0; next < tree.size(); ++next)
        for (int index = 0; index < tree[next]->childCount(); ++index)
            if (QAccessibleInterface* child = tree[next]->child(index))
                tree.append(child);
    return tree;
}

void expectEveryQueryAnsweredSoundly(const QList<QAccessibleInterface*>& objects) {
    std::signal(SIGALRM, unanswered);
    for (QAccessibleInterface* object : objects)
        askEverything(*object);
}

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

void expectReadableTextAndButtonsWithinReach(QWidget& window,
                                             const QList<std::pair<QColor, QColor>>& fixedPairs) {
    const QRect screen = window.screen()->availableGeometry();
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window))
            continue;
        if (auto* area = window.findChild<QScrollArea*>()) // where the window is too large
            area->ensureWidgetVisible(widget, 0, 0);
        const QRect place(widget->mapToGlobal(QPoint()), widget->size());
        const bool reached =
            screen.contains(place) && QApplication::widgetAt(place.center()) == widget;
        EXPECT_TRUE(reached || !qobject_cast<QAbstractButton*>(widget))
            << widget->objectName().toStdString() << " cannot be reached at " << place.x() << ','
            << place.y();
        auto [area, inks] = textOf(*widget);
        if (area.isEmpty())
            continue;
        const QImage picture =
            window.grab(QRect(widget->mapTo(&window, area.topLeft()), area.size())).toImage();
        std::map<QRgb, int> counts;
        const auto* pixels = reinterpret_cast<const QRgb*>(picture.constBits());
        std::for_each(pixels, pixels + picture.width() * picture.height(),
                      [&](QRgb p) { ++counts[p]; });
        const QRgb background =
            std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                return a.second < b.second;
            })->first;
        if (inks.isEmpty()) // the pixel farthest from the background shows the text's colour
            inks << std::max_element(counts.begin(), counts.end(), [&](auto& a, auto& b) {
                        return contrast(a.first, background) < contrast(b.first, background);
                    })->first;
        for (const QColor& ink : inks) {
            const double ratio = contrast(ink, background);
            EXPECT_TRUE(ratio >= 3.0 || fixedPairs.contains(std::pair(ink, QColor(background))))
                << widget->objectName().toStdString() << ": " << ink.name().toStdString() << " on "
                << QColor(background).name().toStdString() << ", " << ratio << ":1";
        }
    }
}
