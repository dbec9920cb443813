#pragma once

#include <QString>
#include <QStringList>

// One table of the schema: its creation statement and the statements of its indexes.
struct SchemaTable
{
    QString name;
    QString create;
    QStringList indexes;
};

// The ten tables in creation order.
const QVector<SchemaTable> &schema_tables();

// Creates every missing table with its indexes (and the settings row of
// lumo_system) in one transaction. Existing tables are left untouched, except
// that lumo_orders always gets PaytimeIndex.
inline const QString PaytimeIndex = QStringLiteral(
    "CREATE INDEX IF NOT EXISTS order_iscal_paytime ON lumo_orders(iscal,paytime)");
void ensure_schema(const QString &db_path);
// The tables of this program's own data (mivo_...), made when missing by ensure_schema.
// An older counter on the same file does not know them and is not disturbed by them.
const QStringList &mivo_tables();

// Gives every table of the schema the columns it lacks (a column dropped by hand or by
// a tool), each with its declared type and default: ALTER TABLE ... ADD COLUMN, which
// an older program reading the file does not notice. A column that cannot be added
// throws, the message naming the table and the column.
void add_missing_columns(const QString &db_path);

// Digest of the initial administrator password with the salt below.
inline constexpr const char *AdminSalt = "qoxuvremtk";
inline constexpr const char *AdminDigest = "51908e47ccd2df1cf9ec909d153468af";
inline constexpr const char *AdminInitialPassword = "mivo888";
