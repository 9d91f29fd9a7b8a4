#pragma once

#include <QString>

// Process-wide values of one run. Each has one writer (start-up, login, the main window's
// first show, the settings loaders); everything else only reads them. One thread, no locking.

extern QString AppDir;     // directory of the executable, no trailing separator
extern QString ConnString; // the database connection string built at start-up

extern bool LoginOk;   // result of the last login dialog
extern bool MainShown; // the main window has been shown once

extern QString OperatorName; // aa_staff.name of the logged-in operator
extern QString OperatorType; // aa_staff.type; administrator when it contains 管理员
extern int IdleMinutes;      // minutes before the idle lock; 0 = never
extern bool PrintPreview;    // preview instead of printing at once
extern bool DefaultPrint;    // entry form: preview after saving

extern int RowCount;          // rows of the receipt line grid, heading row included
extern bool AllowNegative;    // negative quantities, prices and amounts are accepted
extern QString SoftName;      // the configured system name (main window caption)
extern QString AmountFormula; // formula of a line amount

extern QString CompanyName;
extern QString CompanyAddress;
extern QString CompanyZip;
extern QString CompanyPhone;
extern QString CompanyFax;
extern QString CompanyContact;

extern int ChildWidth; // first size of a tabbed child window
extern int ChildHeight;

extern int CopySaleId; // receipt to copy into the entry form; 0 = none

// Fixed texts of the program.
inline const QString AppTitle = QStringLiteral("Quillo收据打印软件8.0");
inline const QString DatabaseFileName = QStringLiteral("qlodata8.0.mdb");

// Resets every value to its start-of-run state (used by tests between cases).
void ResetGlobals();
