#pragma once
// `kavelon-db import OLD.mdb NEW.mdb`: a new Kavelon database with every row of the five tables
// of a predecessor's Jet 4 file. All or nothing: on any failure NEW is not left behind, and OLD
// is only ever read.

#include "tools/kavelon-db/LegacyReader.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kavelon::dbtool {

struct ImportReport {
    struct Table {
        QString name;
        std::uint32_t read = 0, written = 0;
    };
    std::vector<Table> tables;  // in the order of schema::all()
    QStringList skippedColumns; // "table"."column" of the old file, not carried over
    QStringList changes;        // values that had to be changed, each with the reason
    QString text(const QString& oldPath, const QString& newPath) const;
};

ImportReport importLegacyDatabase(const QString& oldPath, const QString& newPath,
                                  const ReadLimits& limits = {});

} // namespace kavelon::dbtool
