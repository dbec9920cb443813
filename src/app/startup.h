#pragma once

#include "app/context.h"

class IniFile;

// Folders and files derived from the program folder (given with or without a trailing separator).
Paths derive_paths(const QString &program_folder);

// Every key of info.ini except [Memberinfo] and [Chongzhi], with their defaults.
Settings load_settings(const IniFile &ini);

// The non-visual steps of creating the main window: folders, settings, database
// path, schema, signed-in account cleared, service account, administrator seeding.
// A store failure throws; the steps after it are skipped.
void start_core(AppContext &ctx, const QString &program_folder);
