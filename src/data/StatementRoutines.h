#pragma once

#include <QString>

// Small statement routines over the shared data module. User text reaches a statement only
// through QuoteSql, between single quotes; numbers go in bare.

// Doubles every single quote.
QString QuoteSql(const QString &text);

// Hands out the next key of a table from xt_tablekey, inside the caller's transaction.
// Raises DbError on failure. Leaves ShareQuery1 open.
int NextKey(const QString &table);

// In a transaction of its own: a new key, then "insert into table(fields)values(values,key)".
// fields names the key column last; values stops before it. Returns the key, or 0 when
// anything failed (nothing changed then).
int InsertRow(const QString &table, const QString &fields, const QString &values);

// The statement of SelectRows: "select fields from table where 1=1 condition order by order",
// for the lists that read it on a query object of their own.
QString SelectStatement(const QString &table, const QString &fields, const QString &order,
                        const QString &condition);

// Opens ShareQuery1 on "select fields from table where 1=1 condition order by order".
// The condition starts with "and" or is empty. Returns false (query closed) on any error.
bool SelectRows(const QString &table, const QString &fields, const QString &order, const QString &condition);

// In a transaction of its own: "update table set assignments where condition". False on error.
bool UpdateRows(const QString &table, const QString &assignments, const QString &condition);

// In a transaction of its own: "delete from table [where condition]". False on error.
bool DeleteRows(const QString &table, const QString &condition);
