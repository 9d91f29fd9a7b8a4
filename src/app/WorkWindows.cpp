#include "app/WorkWindows.h"

#include "app/Main.h"
#include "receipts/Ss_sale.h"
#include "ui/ChildTabHost.h"

void RegisterWorkWindows(TForm_Main &main) {
    main.registerChildForm(EntryCaption, [] { return new TForm_SS_Sale; });
}
