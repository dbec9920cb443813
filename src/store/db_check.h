#pragma once

#include <QString>

// Checks, before anything is written, that the database file at path can be used:
// its folder exists, it opens, it is not damaged (PRAGMA quick_check) and it can be
// written (the file and its folder, where the journal goes). A file that does not
// exist yet passes: the schema creates it. Throws ESQLiteException with SQLite's code
// (14 cannot open, 5 busy, 11 or 26 damaged, 8 read-only); the file is never changed.
// A file of full_check_below bytes or more is checked without its two order tables:
// they hold nearly all of a busy shop's pages, and reading them all would hold up
// every start by seconds; damage there shows as a damaged file when it is read.
void check_database(const QString &path, qint64 full_check_below = 32 * 1024 * 1024);
