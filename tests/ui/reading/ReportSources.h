#pragma once

#include "engine/NodeIngressTable.h"
#include "engine/SignCatalogue.h"
#include "ui/reading/ReportSource.h"

#include <QStringList>
#include <gtest/gtest.h>

// What the reading window would hand to the report window for a reading, with
// the texts of the real sign catalogue.
inline ReportSource reportSourceFor(const QString& name, int day, int month, int year) {
    static const QStringList months{"January",   "February", "March",    "April",
                                    "May",       "June",     "July",     "August",
                                    "September", "October",  "November", "December"};
    const auto text = [](std::string_view view) {
        return QString::fromUtf8(view.data(), qsizetype(view.size()));
    };
    const auto sign = northNodeSignAt(year, std::int16_t(month - 1), std::int16_t(day - 1));
    EXPECT_TRUE(sign.has_value());
    const SignCatalogueEntry* entry = findSignCatalogueEntry(sign.value_or(""));
    EXPECT_NE(entry, nullptr);
    if (!entry)
        return {};
    return {name,
            QStringLiteral("%1/%2/%3").arg(months.at(month - 1)).arg(day).arg(year),
            QStringLiteral("The North Node of the Moon reflects those kinds of experiences, "
                           "qualities and characteristic traits that need to be developed within "
                           "ourselves so as to work with our karma. These qualities will help us "
                           "to grow spiritually."),
            text(entry->northSign),
            text(entry->northKeywords),
            QString::fromStdString(entry->northDescription()),
            QStringLiteral("The South Node of the Moon reflects kind of experiences, qualities and "
                           "characteristic traits that are already present in us. These are some "
                           "of our inborn qualities which are naturally over-developed in us, and "
                           "prove to be our prime strength."),
            text(entry->southSign),
            text(entry->southKeywords),
            QString::fromStdString(entry->southDescription())};
}

inline ReportSource annLee() {
    return reportSourceFor(QStringLiteral("ANN LEE"), 7, 3, 1975);
}
