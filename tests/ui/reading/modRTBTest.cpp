#include "ui/reading/modRTB.h"

#include "shell/ApplicationInfo.h"
#include "tests/ui/reading/ReportSources.h"
#include "tests/ui/reading/ReportWindowFixture.h"
#include "ui/reading/WebAddressDetection.h"

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

namespace {

// The detected links of the document, each as its text.
QStringList linksIn(const QTextDocument& document) {
    QStringList links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        bool inLink = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isAnchor() && inLink)
                links.last() += it.fragment().text();
            else if (format.isAnchor())
                links.append(it.fragment().text());
            inLink = format.isAnchor();
        }
    }
    return links;
}

// Text that is not a link carries no link mark.
void expectPlainOutsideLinks(const QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isAnchor())
                continue;
            EXPECT_FALSE(format.fontUnderline()) << it.fragment().text().toStdString();
            EXPECT_TRUE(format.anchorHref().isEmpty()) << it.fragment().text().toStdString();
        }
    }
}

class ReportLinkTest : public ReportWindowFixture {
protected:
    // A point on the header's site address, and one on the footer's.
    static QPoint onHeaderLink(const QTextEdit& box) {
        return pointOnCharacter(box, int(box.toPlainText().indexOf(siteAddress())) + 9);
    }
    static QPoint onFooterLink(const QTextEdit& box) {
        return pointOnCharacter(box, int(box.toPlainText().lastIndexOf(siteAddress())) + 9);
    }
};

TEST_F(ReportLinkTest,
       siteAddress_showsAPointingHand_andOpensOnALeftPress_whileTheBoxStillHandlesIt) {
    QTextEdit& report = box(open(annLee()));
    const int link = int(report.toPlainText().indexOf(siteAddress()));

    move(report, pointOnCharacter(report, 3));
    EXPECT_EQ(report.viewport()->cursor().shape(), Qt::IBeamCursor);
    move(report, pointOnCharacter(report, link + 2));
    EXPECT_EQ(report.viewport()->cursor().shape(), Qt::PointingHandCursor);

    press(report, Qt::LeftButton, pointOnCharacter(report, link + 2));
    EXPECT_EQ(fake.openedUrls, QList<QUrl>{QUrl(siteAddress())});
    // The box placed its caret under the press and selects as the mouse drags on.
    EXPECT_EQ(report.textCursor().position(), link + 2);
    move(report, pointOnCharacter(report, link + 12), Qt::LeftButton);
    release(report, Qt::LeftButton, pointOnCharacter(report, link + 12));
    EXPECT_EQ(report.textCursor().selectedText(), siteAddress().mid(2, 10));
    EXPECT_EQ(fake.openedUrls.size(), 1);

    report.verticalScrollBar()->setValue(report.verticalScrollBar()->maximum());
    press(report, Qt::LeftButton, onFooterLink(report));
    release(report, Qt::LeftButton, onFooterLink(report));
    EXPECT_EQ(fake.openedUrls, QList<QUrl>(2, QUrl(siteAddress())));
}

TEST_F(ReportLinkTest, otherButtonsKeysAndTextBesideTheLink_openNothing) {
    QTextEdit& report = box(open(annLee()));
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        press(report, button, onHeaderLink(report));
        release(report, button, onHeaderLink(report));
    }
    press(report, Qt::LeftButton, pointOnCharacter(report, 3)); // on "Report"
    release(report, Qt::LeftButton, pointOnCharacter(report, 3));

    QTextCursor onLink(report.document());
    onLink.setPosition(int(report.toPlainText().indexOf(siteAddress())) + 4);
    report.setTextCursor(onLink);
    report.setFocus();
    for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
        QTest::keyClick(&report, Qt::Key(key));
    QTest::keyClick(&report, Qt::Key_Right, Qt::ShiftModifier);

    EXPECT_TRUE(fake.openedUrls.isEmpty());
    EXPECT_EQ(report.textCursor().selectedText().size(), 1) << "the box still takes keys";
}

TEST_F(ReportLinkTest, closingTheWindow_removesLinkHandling_andTheNextWindowComposesAnew) {
    QPointer<frmSave> first = open(annLee());
    QTextEdit& firstReport = box(first);
    EXPECT_EQ(reportLinkState().window, first);
    EXPECT_EQ(reportLinkState().box, &firstReport);
    EXPECT_NE(reportLinkState().filter, nullptr);

    first->close();
    EXPECT_EQ(reportLinkState().filter, nullptr);
    EXPECT_EQ(reportLinkState().box, nullptr);
    EXPECT_EQ(reportLinkState().window, nullptr);
    EXPECT_FALSE(webAddressDetection(firstReport));
    press(firstReport, Qt::LeftButton, onHeaderLink(firstReport));
    EXPECT_TRUE(fake.openedUrls.isEmpty()) << "a filter was left on the closed window's box";
    flushDeletes();
    EXPECT_TRUE(first.isNull());

    // Escape unloads the dialog without a close event: the handling goes with the window.
    QPointer<frmSave> second = open(reportSourceFor("BOB", 1, 6, 1962));
    EXPECT_TRUE(box(second).toPlainText().contains("Name :- BOB\n"));
    EXPECT_EQ(reportLinkState().window, second);
    press(box(second), Qt::LeftButton, onHeaderLink(box(second)));
    EXPECT_EQ(fake.openedUrls.size(), 1);
    QTest::keyClick(second, Qt::Key_Escape);
    flushDeletes();
    EXPECT_TRUE(second.isNull());
    EXPECT_EQ(reportLinkState().filter, nullptr);
    EXPECT_EQ(reportLinkState().window, nullptr);
}

TEST_F(ReportLinkTest, aLinkLongerThanTheBuffer_opensItsFirst1024Characters) {
    QWidget window;
    QTextEdit box(&window);
    box.resize(400, 200);
    window.show();
    EnableReportLinks(&box, &window);
    const QString address = "https://example.org/" + QString(2000, QLatin1Char('a'));
    QTextCursor(box.document()).insertText(address);

    press(box, Qt::LeftButton, pointOnCharacter(box, 3));
    DisableReportLinks();
    EXPECT_EQ(fake.openedUrls, QList<QUrl>{QUrl(address.left(1024))});
}

TEST(WebAddressDetection, marksAddressesAsTheTextChanges_andNothingAfterThem) {
    QTextEdit box;
    setWebAddressDetection(box, true);
    QTextDocument& document = *box.document();
    QTextCursor cursor(&document);
    cursor.insertText("Visit https://example.org/page.");
    EXPECT_EQ(linksIn(document), QStringList{"https://example.org/page"});

    // A cursor just behind the link writes in the link's format; the text still is no link.
    cursor.setPosition(int(document.toPlainText().indexOf("page")) + 4);
    cursor.insertText(" today");
    cursor.movePosition(QTextCursor::End);
    cursor.insertText("\nand http://second.example too");
    EXPECT_EQ(linksIn(document),
              QStringList({"https://example.org/page", "http://second.example"}));
    expectPlainOutsideLinks(document);

    // Text that no longer reads as an address gives up its link, underline included.
    QTextCursor scheme(&document);
    scheme.setPosition(int(document.toPlainText().indexOf("://")));
    scheme.deleteChar();
    EXPECT_EQ(linksIn(document), QStringList{"http://second.example"});
    expectPlainOutsideLinks(document);

    setWebAddressDetection(box, false);
    EXPECT_FALSE(webAddressDetection(box));
    cursor.insertText(" https://third.example");
    EXPECT_EQ(linksIn(document), QStringList{"http://second.example"});
}

} // namespace
