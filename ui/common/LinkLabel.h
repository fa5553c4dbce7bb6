#pragma once

#include <QLabel>

// A label that acts as a link: a left click on it, or Enter or Space while it has the keyboard
// focus, emits clicked(). Forms use it as a promoted QLabel and give it the pointing-hand cursor.
// Tab reaches it, and a dotted frame shows that it has the focus.
class LinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit LinkLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// Puts the link labels of `lastControl`'s window into the Tab order after that control, in the
// order they appear on screen, top to bottom and left to right, and has the window open with the
// focus on its first control.
void tabToLinksAfter(QWidget& lastControl);

// Two offers that share one place, where only the one in front can be seen and clicked: the one
// behind is hidden as well, so that neither Tab nor a screen reader reaches it. Raising either
// one brings it to the front.
void shareOnePlace(LinkLabel& first, LinkLabel& second);
