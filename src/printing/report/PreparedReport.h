#pragma once

#include "printing/report/PreparedPage.h"

#include <QList>

// A report laid out on its data: the pages to preview, print or export.
struct PreparedReport {
    QList<PreparedPage> pages;
};
