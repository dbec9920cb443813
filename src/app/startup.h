#pragma once

#include "app/context.h"

class IniFile;

// Folders and files derived from the program folder (given with or without a trailing separator).
Paths derive_paths(const QString &program_folder);

// Every key of info.ini except [Memberinfo] and [Chongzhi], with their defaults.
Settings load_settings(const IniFile &ini);

// Takes the world's and the execute rights off the database file (0660 at most); the
// group's stay, for other counters that share the file.
void keep_database_private(const QString &db_path);

// The non-visual steps of creating the main window: folders, settings, database
// path, schema, signed-in account cleared, service account, administrator seeding.
// A store failure throws; the steps after it are skipped.
void start_core(AppContext &ctx, const QString &program_folder);
