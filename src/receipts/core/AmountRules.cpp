#include "receipts/core/AmountRules.h"
