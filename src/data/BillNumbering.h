#pragma once

#include <QString>

// Receipt numbers and the codes of goods, paying parties and staff, from the four numbering
// rules of xt_billconfig: 1 goods (aa_goods), 2 paying parties (aa_company), 3 staff
// (aa_staff), 4 receipts (ss_sale).

// The next number of a rule: its prefix (letters, separator, today's date parts from Clock)
// followed by the serial one higher than the highest stored under that prefix (notype yes) or
// under the prefix of any date (notype no), zero-padded to the width of startno. Only codes the
// rule could have made count: the prefix followed by digits. Codes typed by hand in another
// form ("2024-A", "0000002补") are skipped. Serials that have outgrown the width count by their
// value. The highest serial is found through the index of the code column, in a few look-ups
// whatever the size of the table.
// Stores and reserves nothing: two calls without a save in between give the same number. Runs
// on ShareQuery1 and opens no transaction, so callers that store the number call it inside
// their own. Raises DbError when the rule or its table is missing.
QString MakeBillCode(int rule);

// A serial zero-padded in front to width characters; wider serials keep all their digits.
QString PadSerial(qint64 serial, int width);
