#pragma once

#include <QString>

// The company record: the name and contact data of the business that issues the receipts,
// kept in xt_userinfo. The current record is the row with the highest userinfoid.
struct CompanyInfo {
    QString name;    // username
    QString contact; // linkman
    QString phone;   // phone
    QString fax;     // fax
    QString zip;     // zip
    QString address; // adr
    QString remark;  // remark: the company profile
};

// The current company record read through a query object of its own on ShareConn; every
// field empty when the table is empty. Raises DbError.
CompanyInfo ReadCompanyInfo();

// Writes the record into the current row, or adds the first row to an empty table.
// Raises DbError (nothing is changed then).
void SaveCompanyInfo(const CompanyInfo &info);

// Fills CompanyName, CompanyContact, CompanyZip, CompanyAddress, CompanyPhone and CompanyFax
// from the current record on ShareQuery1 (empty texts when there is none). Raises DbError.
void LoadCompanyInfo();

// Whether start-up offers the company form: the operator is an administrator and the
// current company name still contains the default word "Quillo". The statement runs on
// ShareQuery1 whatever the operator. Raises DbError.
bool FirstRunPromptDue();
