#pragma once

#include <QString>

// Checks, before anything is written, that the database file at path can be used:
// its folder exists, it opens, it is not damaged (PRAGMA quick_check) and it can be
// written (the file and its folder, where the journal goes). A file that does not
// exist yet passes: the schema creates it. Throws ESQLiteException with SQLite's code
// (14 cannot open, 5 busy, 11 or 26 damaged, 8 read-only); the file is never changed.
void check_database(const QString &path);
