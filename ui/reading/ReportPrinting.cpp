#include "ui/reading/ReportPrinting.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QGuiApplication>
#include <QLibrary>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScreen>
#include <QTemporaryFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <algorithm>
#include <memory>

namespace {

// Qt's CUPS print engine keeps the job's options under this key, as a list of names and values.
// The print dialog puts two page choices there for the print server: odd or even pages, and
// the pages typed as text. A choice that leaves no page stops the job on the server with a
// blank page, so the program applies them itself.
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

struct PageChoice {
    QList<std::pair<int, int>> ranges; // first and last page of each; none for every page
    int parity = -1;                   // 1 for odd pages only, 0 for even ones, -1 for both
};

// "2-4,7": a range that does not read as one becomes {0, 0}, which no report holds.
void addRanges(PageChoice& choice, const QString& ranges) {
    for (const QString& range : ranges.split(u',')) {
        const QStringList ends = range.split(u'-');
        bool firstRead = false;
        bool lastRead = false;
        const int first = ends.constFirst().toInt(&firstRead);
        const int last = ends.constLast().toInt(&lastRead);
        const bool read = firstRead && lastRead && ends.size() <= 2;
        choice.ranges.append({read ? first : 0, read ? last : 0});
    }
}

// Takes the pages chosen in the dialog off the printer, so that neither Qt nor the print server
// applies them a second time.
PageChoice takePageChoice(QPrinter& printer) {
    PageChoice choice;
    const bool range = printer.printRange() == QPrinter::PageRange;
    if (range)
        for (const QPageRanges::Range& pages : printer.pageRanges().toRangeList())
            choice.ranges.append({pages.from, pages.to});
    QStringList options = printer.printEngine()->property(kCupsOptions).toStringList();
    const qsizetype optionCount = options.size();
    for (qsizetype i = 0; i + 1 < options.size();) {
        const QString value = options[i + 1];
        if (options[i] == u"page-ranges")
            addRanges(choice, value);
        else if (options[i] == u"page-set")
            choice.parity = value == u"odd" ? 1 : value == u"even" ? 0 : -1;
        else {
            i += 2;
            continue;
        }
        options.remove(i, 2);
    }
    if (options.size() != optionCount)
        printer.printEngine()->setProperty(kCupsOptions, options);
    // For a range starting on an even page Qt swaps odd and even, counting from the range's start.
    if (range && printer.fromPage() % 2 == 0 && choice.parity >= 0)
        choice.parity = 1 - choice.parity;
    printer.setPageRanges({});
    return choice;
}

// The pages to print; none when the choice names a page that the report does not have.
QList<int> pagesToPrint(const PageChoice& choice, int pageCount) {
    for (const auto& [first, last] : choice.ranges)
        if (first < 1 || last < first || last > pageCount)
            return {};
    QList<int> pages;
    for (int page = 1; page <= pageCount; ++page) {
        const bool inRange =
            choice.ranges.isEmpty() || std::ranges::any_of(choice.ranges, [page](const auto& r) {
                return r.first <= page && page <= r.second;
            });
        if (inRange && (choice.parity < 0 || page % 2 == choice.parity))
            pages.append(page);
    }
    return pages;
}

// The report laid out on the printer's pages as QTextDocument::print lays it out: margins of
// 2 cm in the screen's units, which the layout scales to the printer's, and the page number at
// the foot.
struct Layout {
    std::unique_ptr<QTextDocument> document;
    QRectF page;
    QPointF pageNumber;
};

Layout layOut(const QTextDocument& report, QPrinter& printer) {
    if (printer.pageLayout().margins().isNull())
        printer.setPageMargins(QMarginsF(2, 2, 2, 2), QPageLayout::Millimeter);
    Layout layout{std::unique_ptr<QTextDocument>(report.clone()),
                  QRectF(0, 0, printer.width(), printer.height()),
                  {}};
    QTextDocument& document = *layout.document;
    // Unshaped text keeps ligatures out of a PDF, so that its text reads, searches and copies
    // as written; the report's Latin letters look the same without them.
    QTextCharFormat unshaped;
    unshaped.setFontStyleStrategy(QFont::PreferNoShaping);
    QTextCursor all(&document);
    all.select(QTextCursor::Document);
    all.mergeCharFormat(unshaped);
    QFont font = document.defaultFont();
    font.setStyleStrategy(QFont::PreferNoShaping);
    document.setDefaultFont(font);

    document.documentLayout()->setPaintDevice(&printer);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const bool at96 = !screen || QCoreApplication::testAttribute(Qt::AA_Use96Dpi);
    const qreal screenDpiX = at96 ? 96 : qRound(screen->logicalDotsPerInchX());
    const qreal screenDpiY = at96 ? 96 : qRound(screen->logicalDotsPerInchY());
    const int marginX = int(2 / 2.54 * screenDpiX);
    const int marginY = int(2 / 2.54 * screenDpiY);
    QTextFrameFormat frame = document.rootFrame()->frameFormat();
    frame.setLeftMargin(marginX);
    frame.setRightMargin(marginX);
    frame.setTopMargin(marginY);
    frame.setBottomMargin(marginY);
    document.rootFrame()->setFrameFormat(frame);
    document.setPageSize(layout.page.size());
    layout.pageNumber = {layout.page.width() - marginX * printer.logicalDpiX() / screenDpiX,
                         layout.page.height() - marginY * printer.logicalDpiY() / screenDpiY +
                             QFontMetrics(document.defaultFont(), &printer).ascent() +
                             5 * printer.logicalDpiY() / 72.0};
    return layout;
}

void paintPage(QPainter& painter, const Layout& layout, int page) {
    painter.save();
    const QRectF view = layout.page.translated(0, (page - 1) * layout.page.height());
    painter.translate(0, -view.top());
    painter.setClipRect(view);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = view;
    context.palette.setColor(QPalette::Text, Qt::black);
    layout.document->documentLayout()->draw(&painter, context);
    painter.setClipping(false);
    painter.setFont(layout.document->defaultFont());
    const QString number = QString::number(page);
    painter.drawText(
        qRound(layout.pageNumber.x() - painter.fontMetrics().horizontalAdvance(number)),
        qRound(layout.pageNumber.y() + view.top()), number);
    painter.restore();
}

bool paintPages(QPrinter& printer, const Layout& layout, const QList<int>& pages) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage())
            return false;
        paintPage(painter, layout, pages[i]);
    }
    return painter.end();
}

// Qt does not say whether the print server took the job. libcups keeps the outcome of the
// thread's last request, which is the job's submission once the printer's painter has ended.
bool printServerTookTheJob() {
    using LastError = int (*)();
    const auto lastError =
        reinterpret_cast<LastError>(QLibrary::resolve(QStringLiteral("cups"), 2, "cupsLastError"));
    return !lastError || lastError() < 0x400; // IPP's client and server errors start there
}

// Whether `pdf` was written to its end: its last line gives the offset of its cross-reference
// table, which a write lost on the way would have moved.
bool isComplete(const QByteArray& pdf) {
    static const QRegularExpression tail(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
    const QRegularExpressionMatch match = tail.match(QString::fromLatin1(pdf.right(64)));
    return match.hasMatch() && pdf.mid(match.captured(1).toLongLong(), 4) == "xref";
}

bool replaceWith(const QString& fileName, QFile& draft) {
    const QByteArray pdf = draft.readAll();
    QSaveFile file(fileName);
    // Unbuffered, for a write that fails to show: commit() misses one made while closing.
    return isComplete(pdf) && file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
           file.write(pdf) == pdf.size() && file.commit();
}

} // namespace

PrintOutcome printReport(const QTextDocument& report, QPrinter& printer) {
    const PageChoice choice = takePageChoice(printer);
    const Layout layout = layOut(report, printer);
    const int pageCount = layout.document->pageCount();
    QList<int> pages = pagesToPrint(choice, pageCount);
    if (pages.isEmpty())
        return {PrintOutcome::Status::PagesRefused, pageCount};
    // The dialog's "Reverse", which neither Qt nor the print server applies to pages drawn here.
    if (printer.pageOrder() == QPrinter::LastPageFirst)
        std::ranges::reverse(pages);

    if (printer.outputFormat() != QPrinter::PdfFormat) {
        const bool printed = paintPages(printer, layout, pages) && printServerTookTheJob();
        return {printed ? PrintOutcome::Status::Printed : PrintOutcome::Status::Failed, pageCount};
    }
    // Written aside first: Qt reports no failed write, and the chosen file keeps what it held
    // until a complete PDF replaces it.
    const QString fileName = printer.outputFileName();
    QTemporaryFile draft(QDir::temp().filePath(QStringLiteral("nodalis-XXXXXX.pdf")));
    bool printed = draft.open();
    if (printed) {
        printer.setOutputFileName(draft.fileName());
        printed = paintPages(printer, layout, pages) && replaceWith(fileName, draft);
        printer.setOutputFileName(fileName);
    }
    return {printed ? PrintOutcome::Status::Printed : PrintOutcome::Status::Failed, pageCount};
}
