#pragma once

// Times the reading of a generated MealMaster file of `recipes` recipes, its
// storing into an empty cookbook in one transaction (as an import does), and
// the writing and reading back of the zip and own-file exports. Prints
// "name: value" lines (seconds, MB, counts); false when a step failed.
bool runFormatsBench(int recipes);
