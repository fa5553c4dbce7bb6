#pragma once

#include "shell/LoadedWindows.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/WidgetChecks.h"
#include "ui/main/frmMain.h"
#include "ui/reading/frmDisplay.h"
#include "ui/reading/frmSave.h"

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

inline void flushUnloads() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The program's windows driven through a scripted platform, from a main window
// shown as the program starts; every window left loaded is unloaded afterwards.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        main->show();
        fake.messages.clear(); // an update offer, had the last one been long ago
    }
    void TearDown() override { unloadEveryWindow(); }

    static void unloadEveryWindow() {
        flushUnloads();
        while (!LoadedWindows::inLoadOrder().isEmpty()) // a report window goes with its reading
            delete LoadedWindows::inLoadOrder().constLast();
    }

    void enter(const QString& name, int day, int month, int year) const {
        child<QLineEdit>(*main, "txtName").setText(name);
        child<QComboBox>(*main, "cboDate").setCurrentIndex(day - 1);
        child<QComboBox>(*main, "cboMonth").setCurrentIndex(month - 1);
        child<QComboBox>(*main, "cboYear").setCurrentIndex(year - 1940);
    }
    QStringList entries() const {
        return {child<QLineEdit>(*main, "txtName").text(),
                child<QComboBox>(*main, "cboDate").currentText(),
                child<QComboBox>(*main, "cboMonth").currentText(),
                child<QComboBox>(*main, "cboYear").currentText()};
    }
    frmDisplay* readingFor(const QString& name, int day, int month, int year) const {
        enter(name, day, month, year);
        main->cmdNext_Click();
        return shown<frmDisplay>();
    }
    template <typename T> static T* shown() {
        for (QWidget* window : LoadedWindows::inLoadOrder())
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
    frmMain* main = new frmMain;
    QTemporaryDir folder;
};
