#pragma once

#include <QString>

// Receipt numbers and the codes of goods, paying parties and staff, from the four numbering
// rules of xt_billconfig: 1 goods (aa_goods), 2 paying parties (aa_company), 3 staff
// (aa_staff), 4 receipts (ss_sale).

// The next number of a rule: its prefix (letters, separator, today's date parts from Clock)
// followed by the serial one higher than the highest stored under that prefix (notype yes) or
// in the whole table (notype no), zero-padded to the width of startno. Stores and reserves
// nothing: two calls without a save in between give the same number. Runs on ShareQuery1 and
// opens no transaction, so callers that store the number call it inside their own.
// Raises DbError when the rule or its table is missing or the highest stored serial does not
// end in a digit within the width of startno.
QString MakeBillCode(int rule);

// The trailing number of a text within its last width characters (the text is padded with
// zeros in front to width first). Raises DbError when those characters do not end in a digit.
qint64 ReadSerial(const QString &text, int width);

// A serial zero-padded in front to width characters; wider serials keep all their digits.
QString PadSerial(qint64 serial, int width);
