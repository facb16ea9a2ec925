#include <gtest/gtest.h>

#include <string>

#include "twain_ui.h"
#include "xml/DevListRecordBuilder.h"
#include "xml/DevListSetting.h"

using namespace quorveltwain;

namespace {

using Check = std::uint32_t (*)(std::uint32_t, const DevListRecord*, const ScanSettingsRecord*);

// The exports in setting-index order.
constexpr Check kChecks[kDevListSettingCount] = {
    XML_ValidateOriginalSizeRestriction,  XML_ValidateOriginalOrientationRestriction,
    XML_ValidateImageQualityRestriction,  XML_ValidateResolutionRestriction,
    XML_ValidateExposureLevelRestriction, XML_ValidateDuplexModeRestriction,
    XML_ValidateColorModeRestriction,     XML_ValidatePreventBleedThroughRestriction,
    XML_ValidateSendingSizeRestriction,   XML_ValidateContrastRestriction,
};

// The record field that holds each setting's current value, spelled out independently of
// the library's own table so that a mix-up there cannot hide here.
std::int32_t& FieldOf(ScanSettingsRecord& record, int setting) {
    switch (setting) {
        case 0:
            return record.original_size;
        case 1:
            return record.original_orientation;
        case 2:
            return record.original_image;
        case 3:
            return record.resolution;
        case 4:
            return record.exposure_level;
        case 5:
            return record.duplex;
        case 6:
            return record.color_selection;
        case 7:
            return record.prevent_bleed_through;
        case 8:
            return record.sending_size;
        default:
            return record.contrast;
    }
}

constexpr std::int32_t kOffered = 3;  // the value under test
constexpr std::int32_t kOtherValue = 5;

// Setting `setting` offers kOffered, refused while setting k has the value 10 + k. Every
// other setting offers only kOtherValue, so a check that reads the wrong list finds nothing.
DevListRecord* RecordRestrictedByEveryOtherSetting(int setting) {
    DevListRecordBuilder builder;
    for (int s = 0; s < kDevListSettingCount; ++s) {
        builder.AddValue(s, s == setting ? kOffered : kOtherValue, false);
        if (s != setting) builder.AddValue(s, kOtherValue + 1, false);
    }
    // Reopen the list of `setting` with a restricted entry as its last value.
    for (int k = 0; k < kDevListSettingCount; ++k) {
        builder.AddRestriction(setting, k, 10 + k);
    }
    return builder.Publish();
}

TEST(RestrictionCheck, EachCheckReadsItsOwnListAndTheOtherSettingsFromTheirFields) {
    for (int setting = 0; setting < kDevListSettingCount; ++setting) {
        SCOPED_TRACE("setting " + std::to_string(setting));
        const DevListRecord* device = RecordRestrictedByEveryOtherSetting(setting);
        ASSERT_NE(device, nullptr);
        const Check check = kChecks[setting];

        ScanSettingsRecord settings{};
        EXPECT_EQ(check(kOffered, device, &settings), 1u) << "its own list holds the value";
        EXPECT_EQ(check(kOtherValue, device, &settings), 0u) << "another list's value";

        for (int k = 0; k < kDevListSettingCount; ++k) {
            if (k == setting) continue;
            SCOPED_TRACE("refusing setting " + std::to_string(k));
            // Only setting k holds its refusing value: refused.
            ScanSettingsRecord onlyK{};
            FieldOf(onlyK, k) = 10 + k;
            EXPECT_EQ(check(kOffered, device, &onlyK), 0u);
            // Every field but k's holds k's refusing value: allowed.
            ScanSettingsRecord allButK{};
            for (int j = 0; j < kDevListSettingCount; ++j) FieldOf(allButK, j) = 10 + k;
            FieldOf(allButK, k) = 0;
            EXPECT_EQ(check(kOffered, device, &allButK), 1u);
        }
        // The setting's own current value plays no part.
        ScanSettingsRecord own{};
        FieldOf(own, setting) = 10 + setting;
        EXPECT_EQ(check(kOffered, device, &own), 1u);
    }
}

TEST(RestrictionCheck, TheFirstMatchingEntryDecides) {
    DevListRecordBuilder builder;
    builder.AddValue(DEVLIST_COLOR_MODE, 1, true);   // FULL_COLOR, unrestricted
    builder.AddValue(DEVLIST_COLOR_MODE, 3, false);  // BLACK_AND_WHITE refused at 600x600
    builder.AddRestriction(DEVLIST_COLOR_MODE, DEVLIST_RESOLUTION, 6);
    builder.AddValue(DEVLIST_COLOR_MODE, 1, false);  // FULL_COLOR again, now restricted
    builder.AddRestriction(DEVLIST_COLOR_MODE, DEVLIST_RESOLUTION, 6);
    builder.AddValue(DEVLIST_COLOR_MODE, 0, false);  // a token outside the vocabulary
    const DevListRecord* device = builder.Publish();
    ASSERT_NE(device, nullptr);

    ScanSettingsRecord settings{};
    settings.resolution = 6;
    EXPECT_EQ(XML_ValidateColorModeRestriction(1, device, &settings), 1u);
    EXPECT_EQ(XML_ValidateColorModeRestriction(3, device, &settings), 0u);
    settings.resolution = 5;
    EXPECT_EQ(XML_ValidateColorModeRestriction(3, device, &settings), 1u);
    // Code 0 is found like any other code; unknown codes are not offered.
    EXPECT_EQ(XML_ValidateColorModeRestriction(0, device, &settings), 1u);
    EXPECT_EQ(XML_ValidateColorModeRestriction(2, device, &settings), 0u);
    EXPECT_EQ(XML_ValidateColorModeRestriction(0xFFFFFFFFu, device, &settings), 0u);
    // A setting the device list does not describe allows no value at all.
    EXPECT_EQ(XML_ValidateContrastRestriction(4, device, &settings), 0u);
    EXPECT_EQ(XML_ValidateContrastRestriction(0, device, &settings), 0u);
}

TEST(RestrictionCheck, OnlyTheRestrictedFlagAndTheOtherListsCount) {
    // Hand-made, as a host might build it: restrictions on the value's own setting, a count
    // and a default mark that disagree with the lists. None of them may change the answer.
    std::int32_t ownRefusal[] = {2};
    std::int32_t resolutionRefusal[] = {6};
    DevListValue value{};
    value.code = 2;  // DUPLEX
    value.restricted = 1;
    value.restriction_count = 99;
    value.is_default = 1;
    value.restrictions[DEVLIST_DUPLEX_MODE] = {ownRefusal, 1};
    value.restrictions[DEVLIST_RESOLUTION] = {resolutionRefusal, 1};
    DevListRecord device{};
    device.values[DEVLIST_DUPLEX_MODE] = {&value, 1};

    ScanSettingsRecord settings{};
    settings.duplex = 2;
    EXPECT_EQ(XML_ValidateDuplexModeRestriction(2, &device, &settings), 1u);
    settings.resolution = 6;
    EXPECT_EQ(XML_ValidateDuplexModeRestriction(2, &device, &settings), 0u);

    // A value whose lists are filled but whose flag is not 1 is always allowed.
    value.restricted = 2;
    EXPECT_EQ(XML_ValidateDuplexModeRestriction(2, &device, &settings), 1u);

    // Null records refuse instead of crashing the caller.
    EXPECT_EQ(XML_ValidateDuplexModeRestriction(2, nullptr, &settings), 0u);
    EXPECT_EQ(XML_ValidateDuplexModeRestriction(2, &device, nullptr), 0u);
}

TEST(DevListRecordBuilder, PublishedRecordsStayAndKeepTheirLists) {
    const std::size_t before = PublishedDevListRecordCount();
    DevListRecordBuilder builder;
    builder.SetModelName(std::wstring(300, L'M'));
    builder.AddValue(DEVLIST_ORIGINAL_SIZE, 2, true);
    builder.AddRestriction(DEVLIST_ORIGINAL_SIZE, DEVLIST_DUPLEX_MODE, 3);
    builder.AddRestriction(DEVLIST_ORIGINAL_SIZE, DEVLIST_DUPLEX_MODE, 4);
    builder.AddRestriction(DEVLIST_ORIGINAL_SIZE, DEVLIST_ORIGINAL_SIZE, 2);  // ignored
    builder.AddRestriction(DEVLIST_CONTRAST, DEVLIST_DUPLEX_MODE, 3);         // no value: ignored
    // Enough values to make the arrays move while building.
    for (int i = 0; i < 100; ++i) builder.AddValue(DEVLIST_EXPOSURE_LEVEL, i, false);
    builder.AddRotation(1);
    builder.AddRotation(3);
    builder.AddReverseImage(2);
    builder.SetMemorySize(-5);
    const DevListRecord* record = builder.Publish();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(PublishedDevListRecordCount(), before + 1);

    EXPECT_EQ(std::wstring(record->model_name), std::wstring(259, L'M'));
    ASSERT_EQ(record->values[DEVLIST_ORIGINAL_SIZE].count, 1u);
    const DevListValue& a3 = record->values[DEVLIST_ORIGINAL_SIZE].items[0];
    EXPECT_EQ(a3.code, 2);
    EXPECT_EQ(a3.is_default, 1u);
    EXPECT_EQ(a3.restricted, 1u);
    EXPECT_EQ(a3.restriction_count, 2u);
    ASSERT_EQ(a3.restrictions[DEVLIST_DUPLEX_MODE].count, 2u);
    EXPECT_EQ(a3.restrictions[DEVLIST_DUPLEX_MODE].items[0], 3);
    EXPECT_EQ(a3.restrictions[DEVLIST_DUPLEX_MODE].items[1], 4);
    EXPECT_EQ(a3.restrictions[DEVLIST_ORIGINAL_SIZE].count, 0u);
    EXPECT_EQ(record->values[DEVLIST_CONTRAST].count, 0u);
    EXPECT_EQ(record->values[DEVLIST_CONTRAST].items, nullptr);
    ASSERT_EQ(record->values[DEVLIST_EXPOSURE_LEVEL].count, 100u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(record->values[DEVLIST_EXPOSURE_LEVEL].items[i].code, i);
        EXPECT_EQ(record->values[DEVLIST_EXPOSURE_LEVEL].items[i].restricted, 0u);
    }
    ASSERT_EQ(record->rotation_count, 2u);
    EXPECT_EQ(record->rotation_codes[1], 3);
    ASSERT_EQ(record->reverse_image.count, 1u);
    EXPECT_EQ(record->reverse_image.items[0], 2);
    EXPECT_EQ(record->memory_size, -5);
}

}  // namespace
