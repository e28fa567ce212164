#pragma once

// Times the reading of hostile web pages (deep nesting, unclosed tables and
// formatting, many attributes) up to the 5 MB download limit, each followed
// by a real recipe. Prints "name: seconds" lines; false when a page's recipe
// was not found.
bool runWebPageBench();
