#pragma once
// Table names and the CREATE statements SQLite keeps in sqlite_master, as CopyTable needs
// them: a statement is rewritten under a new name and keeps everything else as written.
#include <QString>

namespace zvo {

// SQL text for an identifier: between double quotes, inner quotes doubled, so any name is
// one identifier and never SQL.
QString QuoteIdentifier(const QString &name);

// A table name as callers give it: "name", or "schema.name" for an attached database.
struct TTableName {
    QString Schema; // empty for the main database
    QString Name;

    static TTableName Parse(const QString &text);
    QString SchemaOrMain() const { return Schema.isEmpty() ? QString("main") : Schema; }
    QString Quoted() const; // "schema"."name" or "name"
    // `name` in this table's schema, quoted ("schema"."name" or "name").
    QString QuotedInSchema(const QString &name) const;
};

// "CREATE [TEMP|VIRTUAL] TABLE [IF NOT EXISTS] name ..." with the name replaced by
// `quotedName`. ESQLiteError when the text is not such a statement.
QString RenameCreateTable(const QString &sql, const QString &quotedName);
// "CREATE [UNIQUE] INDEX [IF NOT EXISTS] name ON table ..." with both names replaced.
QString RenameCreateIndex(const QString &sql, const QString &quotedIndexName,
                          const QString &quotedTableName);

} // namespace zvo
