#pragma once

#include <QLabel>

// A label that acts as a link: a left click on it emits clicked(). Forms use it
// as a promoted QLabel and give it the pointing-hand cursor.
class LinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit LinkLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
