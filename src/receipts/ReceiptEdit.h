#pragma once

#include "receipts/ReceiptDraft.h"

// Writes the changes of a stored receipt in one transaction on the shared connection: the log
// row "【修改】单据" under the number now shown, one update of ss_sale that sets the header fields
// whose text differs from the stored receipt (a cleared box writes ''; a new paying party or
// payment method is added first) and always the total, its capitals and the ten digit columns,
// then all lines deleted and inserted again under new keys, with the goods, units and remark
// phrases not yet known. The operator and the print count are never touched. Any failure rolls
// everything back (key counters, master data and the log row included) and raises.
void SaveEditedReceipt(int saleId, const ReceiptDraft &stored, const ReceiptDraft &edited);

// The assignment list of the update (without its leading "update ss_sale set "), adding the
// paying party and payment method the changed header names when they are new.
QString EditAssignments(const ReceiptDraft &stored, const ReceiptDraft &edited);
