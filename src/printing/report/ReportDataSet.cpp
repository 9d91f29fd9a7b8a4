#include "printing/report/ReportDataSet.h"

int ReportDataSet::fieldIndex(const QString &field) const {
    for (int i = 0; i < fields.size(); ++i)
        if (fields.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
