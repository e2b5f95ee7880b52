#pragma once
// Believable Russian demo data for a new database: customers, settlements, vehicles, drivers and
// a journal of orders over the months before a given day. The same day gives the same rows.

#include "data/Value.h"

#include <QDate>
#include <vector>

namespace kavelon::dbtool {

using Row = std::vector<Value>;

struct DemoData {
    // Rows in each table's column order; auto-numbers are null (assigned on insert, from 1).
    std::vector<Row> clients, settlements, vehicles, drivers, journal;
};

// Orders fall on the 180 days before `today`. Each order names rows of the reference tables (texts
// cut to the journal's widths) and its sum is distance × tariff of the vehicle the dispatcher's
// order dialog would use for that make: the first vehicle of the make. The vehicle whose tariff is
// written with a decimal comma is never chosen for an order, since the order dialog cannot convert
// such a tariff and so could never have stored one.
DemoData makeDemoData(const QDate& today);

} // namespace kavelon::dbtool
