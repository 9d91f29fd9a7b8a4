#include "receipts/SharedQuery.h"

#include "data/Sharedm2.h"

DbQuery &OpenSharedQuery(const QString &statement) {
    DbQuery &query = ShareDM1->ShareQuery1;
    query.open(statement);
    return query;
}
