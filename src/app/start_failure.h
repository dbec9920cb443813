#pragma once

#include "app/context.h"

#include <QString>

class ESQLiteException;

// The message when the database cannot be used at start: the file, what is wrong with
// it and what to do. A damaged file names the newest backup (or says there is none).
// After a blank line: the technical detail.
QString start_failure_text(const AppContext &ctx, const ESQLiteException &e);

// Empty when the configuration file can be written; otherwise the warning that the
// remembered login and the settings cannot be kept.
QString config_write_problem(const Paths &paths);

// What the remembered login in the configuration file means when writing it failed.
QString login_not_remembered_text(const Paths &paths);
QString logout_not_remembered_text(const Paths &paths, const QString &username);
QString profile_not_remembered_text(const Paths &paths);
