#pragma once

#include <QString>

// Writes a plain cookbook of `recipes` generated recipes (fixed seed) to `path`.
bool generateCookbook(const QString& path, int recipes);
