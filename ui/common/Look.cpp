#include "ui/common/Look.h"

#include <QAbstractScrollArea>
#include <QLayout>
#include <QMainWindow>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

namespace look {

namespace {

// Fills its widget before the widget draws itself.
class BackgroundPainter final : public QObject {
public:
    BackgroundPainter(QWidget& widget, const QColor& colour)
        : QObject(&widget)
        , m_colour(colour) {
        widget.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QPainter painter(static_cast<QWidget*>(watched));
            painter.fillRect(static_cast<QPaintEvent*>(event)->rect(), m_colour);
        }
        return false;
    }

private:
    QColor m_colour;
};

} // namespace

QFont verdana(qreal points, int emphasis) {
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(points);
    font.setBold(emphasis & Bold);
    font.setUnderline(emphasis & Underlined);
    return font;
}

void setTextColour(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, colour);
    widget.setPalette(palette);
}

void setBackground(QWidget& widget, const QColor& colour) {
    new BackgroundPainter(widget, colour);
}

void setPaper(QAbstractScrollArea& box, const QColor& paper, const QColor& ink) {
    QPalette palette = box.palette();
    palette.setColor(QPalette::Base, paper);
    palette.setColor(QPalette::Text, ink);
    box.setPalette(palette);
}

void setFrameBackground(QAbstractScrollArea& box, const QColor& colour) {
    setBackground(box, colour);
    // The text area shows the fill too: above 100 % the frame's line is thinner than
    // the frame, and the fill has to show on both sides of it.
    box.viewport()->setAutoFillBackground(false);
    for (QScrollBar* bar : {box.verticalScrollBar(), box.horizontalScrollBar()}) {
        QPalette barPalette = bar->palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            barPalette.setColor(group, QPalette::Window, barPalette.color(group, QPalette::Window));
        bar->setPalette(barPalette);
    }
    QPalette palette = box.palette();
    palette.setColor(QPalette::Window, colour);
    box.setPalette(palette);
}

void fitToScreen(QWidget& window, QWidget& content) {
    const QRect free = window.screen()->availableGeometry();
    const QSize whole = window.sizeHint();
    if (whole.width() <= free.width() && whole.height() <= free.height())
        return;

    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    content.resize(content.sizeHint().expandedTo(content.minimumSize()));
    if (auto* mainWindow = qobject_cast<QMainWindow*>(&window)) {
        mainWindow->takeCentralWidget();
        area->setWidget(&content);
        mainWindow->setCentralWidget(area);
    } else {
        delete window.layout()->replaceWidget(&content, area);
        area->setWidget(&content);
    }
    // The window may now be resized, up to the size at which no scroll bar is needed.
    window.layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    const QSize bars(area->verticalScrollBar()->sizeHint().width(),
                     area->horizontalScrollBar()->sizeHint().height());
    window.setMinimumSize(0, 0);
    window.setMaximumSize(whole + bars);
    QSize size = whole;
    if (whole.height() > free.height())
        size.rwidth() += bars.width();
    if (whole.width() > free.width())
        size.rheight() += bars.height();
    window.setGeometry(QRect(free.topLeft(), size.boundedTo(free.size())));
}

} // namespace look
