#include "app/WorkWindows.h"

#include "app/Main.h"
#include "queries/Ss_history.h"
#include "receipts/Ss_sale.h"
#include "ui/ChildTabHost.h"
#include "ui/Importprocess.h"
#include "ui/Xt_myhint.h"
#include "ui/Xt_sharecontrol.h"

void RegisterWorkWindows(TForm_Main &main) {
    main.registerChildForm(EntryCaption, [] { return new TForm_SS_Sale; });
    main.registerChildForm(TForm_SS_History::Caption, [] { return new TForm_SS_History; });
}

std::unique_ptr<TForm_Main> CreateMainForms() {
    auto main = std::make_unique<TForm_Main>();
    RegisterWorkWindows(*main);
    Form_XT_ShareControl = new TForm_XT_ShareControl(main.get());
    Form_XT_MyHint = new TForm_XT_MyHint(main.get());
    Form_Importprocess = new TForm_Importprocess(main.get());
    return main;
}
