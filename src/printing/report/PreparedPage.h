#pragma once

#include "printing/report/PreparedBand.h"
#include "printing/report/PreparedItem.h"

#include <QList>

// One sheet of output: its paper size and what is drawn on it.
struct PreparedPage {
    int width = 0; // hundredths of a millimetre
    int height = 0;
    QList<PreparedBand> bands;
    QList<PreparedItem> items;
};
