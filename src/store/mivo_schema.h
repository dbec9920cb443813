#pragma once

#include <QStringList>

// The program's own tables beside the lumo_ ones: created when missing, never
// altered, so an older counter on the same file simply does not see them.
// Money in them is whole fen.
const QStringList &mivo_table_statements();
