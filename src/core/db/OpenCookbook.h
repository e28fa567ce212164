#pragma once

#include "core/db/CookbookGuard.h"
#include "core/db/Database.h"

// The run's cookbook: its connection, and the guard that backs it up, checks
// it for damage and refuses writes once damage is found.
class OpenCookbook {
public:
    OpenCookbook() = default;
    OpenCookbook(const OpenCookbook&) = delete;
    OpenCookbook& operator=(const OpenCookbook&) = delete;

    Database& db() { return m_db; }
    CookbookGuard& guard() { return m_guard; }

private:
    Database m_db;
    CookbookGuard m_guard { m_db };
};
