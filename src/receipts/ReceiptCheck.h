#pragma once

#include "receipts/ReceiptDraft.h"

#include <QString>

class ReceiptGridLayout;

// The first fault the save finds in a receipt, and where the form shows it.
struct ReceiptFault {
    enum class Place {
        None,        // nothing wrong
        PayingParty, // the paying-party box
        Cell,        // the cell of column key in grid row
        Lines,       // no row has a code
    };
    Place place = Place::None;
    QString message;
    int row = 0;
    QString key;

    bool ok() const { return place == Place::None; }
};

// The save's checks in their order: a paying party; then for every row with a code, its
// quantity, price and amount present, numbers, and not negative unless allowNegative (the
// messages name the column by its configured caption); then at least one row with a code.
ReceiptFault CheckReceipt(const ReceiptDraft &draft, const ReceiptGridLayout &layout, bool allowNegative);
