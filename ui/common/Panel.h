#pragma once

#include <QColor>
#include <QGroupBox>
#include <QPoint>

// A group box drawn as a box of one colour inside a thin grey border, with its caption
// inside the box near the top left corner.
class Panel : public QGroupBox {
    Q_OBJECT

public:
    explicit Panel(QWidget* parent = nullptr);

    void setLook(const QColor& fill, int cornerRadius, QPoint captionAt);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill;
    int m_cornerRadius = 0;
    QPoint m_captionAt;
};
