#include "data/Globals.h"

QString AppDir;
QString ConnString;
bool LoginOk = false;
bool MainShown = false;
QString OperatorName;
QString OperatorType;
int IdleMinutes = 0;
bool PrintPreview = false;
bool DefaultPrint = false;
int RowCount = 0;
bool AllowNegative = false;
QString SoftName;
QString AmountFormula;
QString CompanyName;
QString CompanyAddress;
QString CompanyZip;
QString CompanyPhone;
QString CompanyFax;
QString CompanyContact;
int ChildWidth = 0;
int ChildHeight = 0;
int CopySaleId = 0;

void ResetGlobals() {
    AppDir.clear();
    ConnString.clear();
    LoginOk = false;
    MainShown = false;
    OperatorName.clear();
    OperatorType.clear();
    IdleMinutes = 0;
    PrintPreview = false;
    DefaultPrint = false;
    RowCount = 0;
    AllowNegative = false;
    SoftName.clear();
    AmountFormula.clear();
    CompanyName.clear();
    CompanyAddress.clear();
    CompanyZip.clear();
    CompanyPhone.clear();
    CompanyFax.clear();
    CompanyContact.clear();
    ChildWidth = 0;
    ChildHeight = 0;
    CopySaleId = 0;
}
