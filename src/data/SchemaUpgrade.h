#pragma once

// Brings the open database up to the current layout, in place, and seeds the rows the newer
// tables need (four numbering rules, three function settings, nine grid column rows). Runs
// eleven upgrade steps in order; each step but step 10 probes for its table or column and runs
// its repairs only when the probe fails, so the upgrade is safe to call again and again.
// Afterwards it makes sure the columns the steps add that lookups filter on are indexed.
// Each step (its probe, its repairs and its seed rows) is one transaction: a step that fails,
// or is cut short by the end of the process, leaves nothing behind and runs again at the next
// call. A failing repair raises DbError out and nothing after it runs; the steps before it
// stay. A probe that fails for any other reason than the missing table or column it looks
// for (a damaged file) raises its error as well.
void UpgradeSchema();

// For tests that break the upgrade off: called before each statement it sends (probes, the
// step 10 query, repairs and seed rows) with the statement's number, counted from 1 at every
// call of UpgradeSchema. Null (the default) calls nothing.
using UpgradeStatementHook = void (*)(int statement);
void SetUpgradeStatementHook(UpgradeStatementHook hook);
