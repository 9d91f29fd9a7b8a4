#pragma once

// Brings the open database up to the current layout, in place, and seeds the rows the newer
// tables need (four numbering rules, three function settings, nine grid column rows). Runs
// eleven upgrade steps in order; each step but step 10 probes for its table or column and runs
// its repairs only when the probe fails, so the upgrade is safe to call again and again.
// Afterwards it makes sure the columns the steps add that lookups filter on are indexed.
// Uses no transaction: a failing repair raises DbError out, nothing after it runs and what ran
// before it stays.
void UpgradeSchema();
