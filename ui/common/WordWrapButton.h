#pragma once

#include <QPushButton>

// A push button whose caption wraps onto as many lines as the button is high,
// for captions longer than any button is wide. The caption stays the button's
// text, so its access key and accessible name work as on any button.
class WordWrapButton : public QPushButton {
    Q_OBJECT
    // Read by layout checks that measure the caption.
    Q_PROPERTY(bool wordWrap READ wordWrap CONSTANT)

public:
    explicit WordWrapButton(QWidget* parent = nullptr);

    bool wordWrap() const { return true; }

protected:
    void paintEvent(QPaintEvent* event) override;
};
