#pragma once
// May setting `setting` take `value` on this model, given the other settings' current
// values? Reads both records only: no allocation, no writes, one linear search.

#include <cstdint>

#include "settings/ScanSettingsRecord.h"

namespace quorveltwain {

// 1 allowed, 0 refused. A setting the device list does not describe allows nothing; a null
// record refuses too, rather than crash the host.
std::uint32_t CheckRestriction(int setting, std::uint32_t value, const DevListRecord* device,
                               const ScanSettingsRecord* settings) noexcept;

// Why CheckRestriction refuses: the index of the first other setting (in index order) whose
// current value is in the restriction list of `value`, read from the same lists the check
// reads. -1 when no other setting refuses it: the value is allowed, the model does not offer
// it at all, or a record is missing.
int RefusingSetting(int setting, std::uint32_t value, const DevListRecord* device,
                    const ScanSettingsRecord* settings) noexcept;

}  // namespace quorveltwain
