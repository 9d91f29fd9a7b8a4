#include "receipts/SharedQuery.h"

#include "data/Sharedm2.h"

DbQuery &OpenSharedQuery(const QString &statement) {
    DbQuery &query = ShareDM1->ShareQuery1;
    query.close();
    query.clear();
    query.setText(statement);
    query.open();
    return query;
}
