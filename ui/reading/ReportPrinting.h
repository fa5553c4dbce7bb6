#pragma once

class QPrinter;
class QTextDocument;

struct PrintOutcome {
    enum class Status {
        Printed,
        Failed,       // no page printed, or a PDF file not written
        PagesRefused, // the pages chosen are not in the report: nothing was sent
    };
    Status status;
    int pageCount; // of the report laid out on the printer's pages
};

// Prints `report` on `printer` as the print dialog left it: the pages chosen there, in reverse
// order when asked, with its text extractable from a PDF as it is written. The program applies
// the pages itself, so neither Qt nor the print server ever sees a range. A PDF file is replaced
// only by a complete one.
PrintOutcome printReport(const QTextDocument& report, QPrinter& printer);
