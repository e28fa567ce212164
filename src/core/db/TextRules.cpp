#include "core/db/TextRules.h"

#include "core/db/Utf8.h"

#include <sqlite3.h>

// The text rules as the cookbook's SQL sees them: the collation "SV" and LIKE.
namespace TextRules {

namespace {

int collateSv(void*, int na, const void* a, int nb, const void* b)
{
    return compareUtf8(static_cast<const char*>(a), na, static_cast<const char*>(b), nb);
}

void deletePattern(void* p)
{
    delete static_cast<LikePattern*>(p);
}

// The ESCAPE argument: one character, or 0 after reporting the error. Read
// from UTF-8 as the pattern is: SQLite's own UTF-16 turns U+FFFE and U+FFFF
// into U+FFFD, and the escape would then eat a pattern's U+FFFD.
char32_t escapeArgument(sqlite3_context* ctx, sqlite3_value* value)
{
    const auto* e = reinterpret_cast<const char*>(sqlite3_value_text(value));
    if (!e) {
        sqlite3_result_error_nomem(ctx);
        return 0;
    }
    const QString s = fromUtf8(e, sqlite3_value_bytes(value));
    const auto* p = reinterpret_cast<const char16_t*>(s.utf16());
    const char16_t* end = p + s.size();
    const char32_t escape = p < end ? detail::decodeUtf16(p, end) : 0;
    if (escape == 0 || p != end) {
        sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
        return 0;
    }
    return escape;
}

// like(pattern, text [, escape]): SQL's `text LIKE pattern` calls it in that order.
void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    char32_t escape = 0;
    if (argc == 3) {
        if (sqlite3_value_type(argv[2]) == SQLITE_NULL)
            return sqlite3_result_null(ctx);
        escape = escapeArgument(ctx, argv[2]);
        if (escape == 0)
            return;
    }

    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
    LikePattern* fresh = nullptr;
    if (!pattern || pattern->escape() != escape) {
        const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
        const int np = sqlite3_value_bytes(argv[0]);
        if (!p)
            return sqlite3_result_error_nomem(ctx);
        if (np > sqlite3_limit(sqlite3_context_db_handle(ctx), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1))
            return sqlite3_result_error(ctx, "LIKE or GLOB pattern too complex", -1);
        fresh = new LikePattern(fromUtf8(p, np), escape);
        pattern = fresh;
    }

    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const int nt = sqlite3_value_bytes(argv[1]);
    if (!text) {
        delete fresh;
        return sqlite3_result_error_nomem(ctx);
    }
    sqlite3_result_int(ctx, pattern->matches(text, nt) ? 1 : 0);
    // Hand over last: SQLite may free it at once.
    if (fresh)
        sqlite3_set_auxdata(ctx, 0, fresh, deletePattern);
}

} // namespace

bool registerOn(sqlite3* db)
{
    if (!db)
        return false;
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    return sqlite3_create_collation_v2(db, "SV", SQLITE_UTF8, nullptr, collateSv, nullptr) == SQLITE_OK
        && sqlite3_create_function_v2(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr, nullptr)
        == SQLITE_OK
        && sqlite3_create_function_v2(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr, nullptr)
        == SQLITE_OK;
}

} // namespace TextRules
