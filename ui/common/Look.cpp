#include "ui/common/Look.h"

#include <QAbstractScrollArea>
#include <QLayout>
#include <QMainWindow>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

namespace look {

namespace {

const QColor kBorderGrey(128, 128, 128);

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

Panel::Panel(QWidget* parent)
    : QGroupBox(parent) {}

void Panel::setLook(const QColor& fill, int cornerRadius, QPoint captionAt) {
    m_fill = fill;
    m_cornerRadius = cornerRadius;
    m_captionAt = captionAt;
    update();
}

void Panel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal w = width();
    const qreal h = height();
    const qreal r = m_cornerRadius;
    // The caption's box is a space wider than its text, which is centred in it; the
    // border gives way to it where they meet.
    const QRect caption(m_captionAt,
                        QSize(fontMetrics().size(Qt::TextShowMnemonic, title() + u' ').width(),
                              fontMetrics().height()));
    const QRegion border = title().isEmpty() ? QRegion(rect()) : QRegion(rect()) - caption;
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal d = 2 * r - 1;
    if (r == 0) {
        painter.fillRect(rect(), m_fill);
    } else {
        // The fill's outline runs along the middle of the border line.
        QPainterPath outline;
        outline.moveTo(r, 0.5);
        outline.lineTo(w - r, 0.5);
        outline.arcTo(w - 2 * r + 0.5, 0.5, d, d, 90, -90);
        outline.lineTo(w - 0.5, h - r);
        outline.arcTo(w - 2 * r + 0.5, h - 2 * r + 0.5, d, d, 0, -90);
        outline.lineTo(r, h - 0.5);
        outline.arcTo(0.5, h - 2 * r + 0.5, d, d, 270, -90);
        outline.lineTo(0.5, r);
        outline.arcTo(0.5, 0.5, d, d, 180, -90);
        outline.closeSubpath();
        painter.fillPath(outline, m_fill);
    }

    // Each side of the border is a straight line ended by the halves of the two quarter
    // circles of its rounded corners that lie next to it.
    painter.setClipRegion(border);
    const QPointF topLeft(0.5, 0.5);
    const QPointF topRight(w - 2 * r + 0.5, 0.5);
    const QPointF bottomLeft(0.5, h - 2 * r + 0.5);
    const QPointF bottomRight(w - 2 * r + 0.5, h - 2 * r + 0.5);
    struct Side {
        QRectF line;
        QPointF firstCorner;
        int firstStart;
        int firstSpan;
        QPointF secondCorner;
        int secondStart;
        int secondSpan;
    };
    const Side sides[] = {
        {{r, h - 1, w - 2 * r, 1}, bottomLeft, -90, -45, bottomRight, -90, 45},
        {{w - 1, r, 1, h - 2 * r}, topRight, 45, -45, bottomRight, 315, 45},
        {{0, r, 1, h - 2 * r}, topLeft, 135, 45, bottomLeft, 180, 45},
        {{r, 0, w - 2 * r, 1}, topLeft, 135, -45, topRight, 45, 45},
    };
    const QPen arcPen(look::kBorderGrey, 1, Qt::SolidLine, Qt::SquareCap);
    for (const Side& side : sides) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(look::kBorderGrey);
        painter.drawRect(side.line);
        if (r == 0)
            continue;
        painter.setPen(arcPen);
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(side.firstCorner, QSizeF(d, d)), side.firstStart * 16,
                        side.firstSpan * 16);
        painter.drawArc(QRectF(side.secondCorner, QSizeF(d, d)), side.secondStart * 16,
                        side.secondSpan * 16);
    }
    if (title().isEmpty())
        return;
    painter.setClipping(false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter | Qt::TextShowMnemonic, title());
}
