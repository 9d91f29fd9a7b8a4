#pragma once

// Receipt amount rules: line amount, total, capitals and digit columns.
// The general number text and the two-decimal text come from the data layer.
#include "data/NumberText.h"
