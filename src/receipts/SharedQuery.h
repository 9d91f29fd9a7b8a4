#pragma once

#include <QString>

class DbQuery;

// Opens the shared read query ShareQuery1 on a statement by the fixed protocol (close, clear,
// set the text, open) and returns it on its first row. Errors raise DbError.
DbQuery &OpenSharedQuery(const QString &statement);
