#pragma once

#include "receipts/ReceiptDraft.h"

#include <optional>

// A stored receipt as the receipt forms show it: the header fields of its ss_sale row and its
// lines in key order (every field as text; an absent value reads as empty). The total and the
// capitals are left empty: the forms compute them from the lines. No value when there is no
// receipt with this key. Runs on ShareQuery1; database errors raise DbError.
std::optional<ReceiptDraft> LoadReceipt(int saleId);
