#pragma once
// Builds one DevListRecord. The host and the windows keep using a record after the handle
// that read it is closed and after a later read replaced it, so a published record lives
// until the library is unloaded; nothing else frees it.

#include <cstdint>
#include <memory>
#include <string_view>

#include "settings/ScanSettingsRecord.h"

namespace quorveltwain {

struct DevListRecordStorage;

class DevListRecordBuilder {
  public:
    DevListRecordBuilder();  // may throw std::bad_alloc
    ~DevListRecordBuilder();
    DevListRecordBuilder(const DevListRecordBuilder&) = delete;
    DevListRecordBuilder& operator=(const DevListRecordBuilder&) = delete;

    // Cut to the 259 characters the record holds.
    void SetModelName(std::wstring_view name) noexcept;

    // Appends a value to setting `setting`'s list. May throw std::bad_alloc.
    void AddValue(int setting, std::int32_t code, bool isDefault);
    // Makes room for `more` further values of `setting` in one allocation, so a long list
    // is neither moved nor grown step by step while it is read. May throw std::bad_alloc.
    void ReserveValues(int setting, std::size_t more);

    // Adds `code` of setting `refusingSetting` to the restrictions of the last value of
    // `setting`. A restriction on the value's own setting, or without a value to attach
    // to, is ignored. May throw std::bad_alloc.
    void AddRestriction(int setting, int refusingSetting, std::int32_t code);

    void AddReverseImage(std::int32_t code);  // may throw std::bad_alloc
    void AddRotation(std::int32_t code);      // may throw std::bad_alloc
    void SetMaxWidth(double width) noexcept;
    void SetMaxLength(double length) noexcept;
    void SetMemorySize(std::int32_t size) noexcept;

    // Fixes every list pointer of the record and hands the record to the library's keeping.
    // The builder is empty afterwards. Null when the keeping could not grow.
    DevListRecord* Publish() noexcept;

  private:
    std::unique_ptr<DevListRecordStorage> storage_;
};

// Records published and still kept (for tests of the keeping rule).
std::size_t PublishedDevListRecordCount() noexcept;

}  // namespace quorveltwain
