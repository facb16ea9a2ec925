#pragma once
// The record is defined once, in the host header, so the library and every host share one
// layout; the library names it inside its namespace like its other types.

#include "twain_ui.h"

namespace quorveltwain {
using ::CodeList;
using ::DevListRecord;
using ::DevListValue;
using ::ScanSettingsRecord;
}  // namespace quorveltwain
