#pragma once

#include "tests/support/FakePlatform.h"
#include "ui/reading/frmSave.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTextCursor>
#include <QTextEdit>
#include <gtest/gtest.h>

// Opens report windows through a fake platform and unloads whatever is left at the end.
class ReportWindowFixture : public ::testing::Test {
protected:
    void TearDown() override {
        for (const QPointer<frmSave>& window : opened) {
            if (window)
                window->close();
        }
        flushDeletes();
    }

    frmSave* open(const ReportSource& source) {
        frmSave* window = showReportWindow(nullptr, source);
        opened.append(window);
        return window;
    }

    static QTextEdit& box(QWidget* window) { return *window->findChild<QTextEdit*>("RTB"); }

    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A point inside the character at `position` of the box's text, in viewport coordinates.
    static QPoint pointOnCharacter(const QTextEdit& box, int position) {
        QTextCursor cursor(box.document());
        cursor.setPosition(position);
        const QRect before = box.cursorRect(cursor);
        cursor.setPosition(position + 1);
        const QRect after = box.cursorRect(cursor);
        return {(before.left() + after.left()) / 2, before.center().y()};
    }

    static void press(QTextEdit& box, Qt::MouseButton button, QPoint point) {
        sendMouse(box, QEvent::MouseButtonPress, button, button, point);
    }
    static void release(QTextEdit& box, Qt::MouseButton button, QPoint point) {
        sendMouse(box, QEvent::MouseButtonRelease, button, Qt::NoButton, point);
    }
    static void move(QTextEdit& box, QPoint point, Qt::MouseButtons held = Qt::NoButton) {
        sendMouse(box, QEvent::MouseMove, Qt::NoButton, held, point);
    }

    FakePlatform fake;
    QList<QPointer<frmSave>> opened;

private:
    static void sendMouse(QTextEdit& box, QEvent::Type type, Qt::MouseButton button,
                          Qt::MouseButtons buttons, QPoint point) {
        QWidget* viewport = box.viewport();
        QMouseEvent event(type, point, viewport->mapToGlobal(point), button, buttons,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
    }
};
