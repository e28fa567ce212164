#pragma once

#include "core/catalogue/Records.h"
#include "core/db/Database.h"

#include <string>
#include <unordered_set>

// Stores the recipes of one file in one transaction, with the cookbook's
// titles read once: a title the cookbook or the file before it already has,
// letter case aside, gets " kopia", as Records::addImported does for one
// recipe. What is not committed is rolled back, also on destruction.
class ImportBatch {
public:
    explicit ImportBatch(Database& db);
    ~ImportBatch();
    ImportBatch(const ImportBatch&) = delete;
    ImportBatch& operator=(const ImportBatch&) = delete;

    [[nodiscard]] DbStatus begin();
    // Texts stored as they came (line ends untouched), an empty one as NULL.
    DbResult<qint32> add(qint32 kid, const Records::Fields& f);
    [[nodiscard]] DbStatus commit();
    void rollback();

private:
    Database& m_db;
    std::unordered_set<std::string> m_titles;
    bool m_open = false;
};
