#pragma once

#include <QString>

// The mnemonic code of a name (助记码), stored as namecode beside name and typed by users to
// find it: each Chinese character becomes the upper-case first letter of its pinyin, Latin
// letters become upper case, digits stay, everything else is dropped (甲公司 → JGS,
// A4纸 → A4Z). An empty text gives an empty text.
QString GetSpellCode(const QString &text);
