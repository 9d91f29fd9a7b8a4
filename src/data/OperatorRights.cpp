#include "data/OperatorRights.h"

#include "data/Globals.h"

bool IsAdministrator() {
    return OperatorType.contains(QStringLiteral("管理员"));
}
