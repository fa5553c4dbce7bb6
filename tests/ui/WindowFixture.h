#pragma once

#include "tests/support/FakePlatform.h"
#include "tests/support/WidgetChecks.h"
#include "ui/common/OpenWindows.h"
#include "ui/main/MainWindow.h"
#include "ui/reading/ReadingWindow.h"
#include "ui/reading/ReportWindow.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

template <typename T = QWidget> T& child(const QObject& window, const char* name) {
    if (T* found = window.findChild<T*>(QString::fromLatin1(name)))
        return *found;
    throw std::runtime_error(std::string("no control ") + name);
}

// What a label or a text box of `window` shows.
inline QString textOf(const QWidget& window, const char* name) {
    if (auto* box = window.findChild<QPlainTextEdit*>(name))
        return box->toPlainText();
    return child<QLabel>(window, name).text();
}

inline void flushDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The program's windows driven through a scripted platform, from a main window
// shown as the program starts; every window left open is deleted afterwards.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        main->show();
        fake.messages.clear(); // an update offer, had the last one been long ago
    }
    void TearDown() override { deleteEveryWindow(); }

    static void deleteEveryWindow() {
        flushDeferredDeletes();
        while (!OpenWindows::inCreationOrder().isEmpty()) // a report window goes with its reading
            delete OpenWindows::inCreationOrder().constLast();
    }

    void enter(const QString& name, int day, int month, int year) const {
        child<QLineEdit>(*main, "nameEdit").setText(name);
        child<QComboBox>(*main, "dayCombo").setCurrentIndex(day - 1);
        child<QComboBox>(*main, "monthCombo").setCurrentIndex(month - 1);
        child<QComboBox>(*main, "yearCombo").setCurrentIndex(year - 1940);
    }
    QStringList entries() const {
        return {child<QLineEdit>(*main, "nameEdit").text(),
                child<QComboBox>(*main, "dayCombo").currentText(),
                child<QComboBox>(*main, "monthCombo").currentText(),
                child<QComboBox>(*main, "yearCombo").currentText()};
    }
    ReadingWindow* readingFor(const QString& name, int day, int month, int year) const {
        enter(name, day, month, year);
        main->showReading();
        return shown<ReadingWindow>();
    }
    template <typename T> static T* shown() {
        for (QWidget* window : OpenWindows::inCreationOrder())
            if (auto* found = qobject_cast<T*>(window); found && found->isVisible())
                return found;
        return nullptr;
    }
    QString file(const QString& name, const QByteArray& bytes) const {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }

    FakePlatform fake;
    MainWindow* main = new MainWindow;
    QTemporaryDir folder;
};
