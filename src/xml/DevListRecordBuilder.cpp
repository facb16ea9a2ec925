#include "xml/DevListRecordBuilder.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <vector>

#include "platform/BoundedText.h"
#include "xml/DevListSetting.h"

namespace quorveltwain {

// The record and the arrays its lists point into. Arrays only grow while building; once
// published nothing moves, so the record's pointers stay valid.
struct DevListRecordStorage {
    DevListRecord record{};
    std::array<std::vector<DevListValue>, kDevListSettingCount> values;
    // restrictions[setting][value][refusing setting]
    std::array<std::vector<std::array<std::vector<std::int32_t>, kDevListSettingCount>>,
               kDevListSettingCount>
        restrictions;
    std::vector<std::int32_t> reverseImage;
    std::vector<std::int32_t> rotation;
};

namespace {

// Released only when the library is unloaded (static destruction at process detach).
struct PublishedRecords {
    std::mutex mutex;
    std::vector<std::unique_ptr<DevListRecordStorage>> records;
};

PublishedRecords& Published() {
    static PublishedRecords published;
    return published;
}

bool ValidSetting(int setting) noexcept {
    return setting >= 0 && setting < kDevListSettingCount;
}

template <typename List, typename Element>
void PointListAt(List& list, std::vector<Element>& elements) noexcept {
    list.count = static_cast<std::uint32_t>(elements.size());
    list.items = elements.empty() ? nullptr : elements.data();
}

}  // namespace

DevListRecordBuilder::DevListRecordBuilder() : storage_(std::make_unique<DevListRecordStorage>()) {}

DevListRecordBuilder::~DevListRecordBuilder() = default;

void DevListRecordBuilder::SetModelName(std::wstring_view name) noexcept {
    CopyToField(storage_->record.model_name, name);
}

void DevListRecordBuilder::AddValue(int setting, std::int32_t code, bool isDefault) {
    if (!ValidSetting(setting)) return;
    DevListValue value{};
    value.code = code;
    value.is_default = isDefault ? 1u : 0u;
    // Without room reserved the arrays grow by doubling, never by one element: growing by one
    // moved the whole list once per value. A failed allocation ends the read, and the
    // builder with both arrays goes with it.
    storage_->values[setting].push_back(value);
    storage_->restrictions[setting].emplace_back();
}

void DevListRecordBuilder::ReserveValues(int setting, std::size_t more) {
    if (!ValidSetting(setting)) return;
    auto& values = storage_->values[setting];
    if (values.capacity() >= values.size() + more) return;
    // At least double: a file may repeat a setting element with a few values many times.
    const std::size_t wanted = std::max(values.size() + more, 2 * values.capacity());
    values.reserve(wanted);
    storage_->restrictions[setting].reserve(wanted);
}

void DevListRecordBuilder::AddRestriction(int setting, int refusingSetting, std::int32_t code) {
    if (!ValidSetting(setting) || !ValidSetting(refusingSetting) || setting == refusingSetting) {
        return;
    }
    auto& values = storage_->values[setting];
    if (values.empty()) return;
    storage_->restrictions[setting].back()[refusingSetting].push_back(code);
    DevListValue& last = values.back();
    ++last.restriction_count;
    last.restricted = 1;
}

void DevListRecordBuilder::AddReverseImage(std::int32_t code) {
    storage_->reverseImage.push_back(code);
}

void DevListRecordBuilder::AddRotation(std::int32_t code) {
    storage_->rotation.push_back(code);
}

void DevListRecordBuilder::SetMaxWidth(double width) noexcept {
    storage_->record.max_width = width;
}

void DevListRecordBuilder::SetMaxLength(double length) noexcept {
    storage_->record.max_length = length;
}

void DevListRecordBuilder::SetMemorySize(std::int32_t size) noexcept {
    storage_->record.memory_size = size;
}

DevListRecord* DevListRecordBuilder::Publish() noexcept {
    DevListRecordStorage& storage = *storage_;
    DevListRecord& record = storage.record;
    for (int setting = 0; setting < kDevListSettingCount; ++setting) {
        auto& values = storage.values[setting];
        for (std::size_t i = 0; i < values.size(); ++i) {
            for (int k = 0; k < kDevListSettingCount; ++k) {
                PointListAt(values[i].restrictions[k], storage.restrictions[setting][i][k]);
            }
        }
        PointListAt(record.values[setting], values);
    }
    PointListAt(record.reverse_image, storage.reverseImage);
    record.rotation_count = static_cast<std::uint32_t>(storage.rotation.size());
    record.rotation_codes = storage.rotation.empty() ? nullptr : storage.rotation.data();

    PublishedRecords& published = Published();
    try {
        std::lock_guard<std::mutex> lock(published.mutex);
        published.records.push_back(std::move(storage_));
    } catch (...) {
        return nullptr;
    }
    return &record;
}

std::size_t PublishedDevListRecordCount() noexcept {
    PublishedRecords& published = Published();
    std::lock_guard<std::mutex> lock(published.mutex);
    return published.records.size();
}

}  // namespace quorveltwain
