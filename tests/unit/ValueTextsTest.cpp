#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ui/ValueTexts.h"
#include "xml/DevListRecordBuilder.h"
#include "xml/RestrictionCheck.h"

using namespace quorveltwain;

namespace {

TEST(ProfileEntryConversion, ARecordSurvivesTheRoundTripButForItsIdentity) {
    using R = ScanSettingsRecord;
    constexpr std::int32_t R::*kCodes[] = {
        &R::original_size,   &R::original_orientation,  &R::duplex,
        &R::exposure_level,  &R::original_image,        &R::resolution,
        &R::color_selection, &R::prevent_bleed_through, &R::sending_size,
        &R::contrast,        &R::reverse_image,         &R::rotation};
    R record{};
    wcscpy(record.config_name, L"Thirty-two characters fill this!");
    wcscpy(record.config_detail, L"detail");
    wcscpy(record.config_id, L"id");
    wcscpy(record.aux_text, L"aux");
    record.model = 7, record.has_frame_entry = 1;
    record.left = 1.5, record.top = 2.5, record.right = 210.25, record.bottom = 297.75;
    for (int i = 0; i < 12; ++i) record.*kCodes[i] = 11 + i;  // each field its own value

    ProfileEntry entry;
    R back{};
    ASSERT_TRUE(RecordToEntry(record, entry) && EntryToRecord(entry, back));
    for (int i = 0; i < 12; ++i) EXPECT_EQ(back.*kCodes[i], 11 + i) << i;
    EXPECT_EQ((std::vector<std::wstring>{back.config_name, back.config_detail, back.aux_text}),
              (std::vector<std::wstring>{record.config_name, L"detail", L"aux"}));
    EXPECT_EQ(
        (std::vector{back.left, back.top, back.right, back.bottom, 1.0 * back.has_frame_entry}),
        (std::vector{1.5, 2.5, 210.25, 297.75, 1.0}));
    EXPECT_EQ(back.config_id[0] + back.model, 0) << "identity and model are not converted";

    // No frame: the entry has no coordinates and the record keeps its own; no third text:
    // the record keeps its own.
    record.has_frame_entry = 0;
    record.aux_text[0] = L'\0';
    ASSERT_TRUE(RecordToEntry(record, entry) && EntryToRecord(entry, back));
    EXPECT_EQ(
        (std::vector{entry.left, entry.top, entry.right, entry.bottom, 1.0 * entry.has_frame}),
        std::vector(5, 0.0));
    EXPECT_EQ((std::pair{back.has_frame_entry, back.right}), std::pair(0, 210.25));
    EXPECT_STREQ(back.aux_text, L"aux");
}

TEST(SelectByItemData, SelectsTheItemOrFallsBackToTheFirstAndItsData) {
    const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 200, nullptr,
                                        nullptr, nullptr, nullptr);
    const HWND list = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 100,
                                      100, parent, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    ASSERT_NE(list, nullptr);
    std::int32_t value = 5;
    SelectByItemData(parent, 7, &value);
    EXPECT_EQ(value, -1) << "an empty list gives its error result";
    for (const std::int32_t code : {9, -2, 5}) {
        SendMessageW(list, CB_SETITEMDATA,
                     SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"x")), code);
    }
    for (const auto& [wanted, selected, after] : {std::tuple{-2, 1, -2}, std::tuple{4, 0, 9}}) {
        value = wanted;
        SelectByItemData(parent, 7, &value);
        EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), selected) << wanted;
        EXPECT_EQ(value, after) << wanted;
    }
    DestroyWindow(parent);
}

TEST(RefusingSetting, NamesTheFirstSettingWhoseValueRefusesTheCandidate) {
    DevListRecordBuilder builder;
    builder.AddValue(DEVLIST_COLOR_MODE, 3, false);
    builder.AddRestriction(DEVLIST_COLOR_MODE, DEVLIST_DUPLEX_MODE, 2);
    builder.AddRestriction(DEVLIST_COLOR_MODE, DEVLIST_RESOLUTION, 6);
    const DevListRecord* device = builder.Publish();
    ASSERT_NE(device, nullptr);
    ScanSettingsRecord settings{};
    const auto refusing = [&](std::uint32_t value) {  // with what the check says
        return std::pair{RefusingSetting(DEVLIST_COLOR_MODE, value, device, &settings),
                         CheckRestriction(DEVLIST_COLOR_MODE, value, device, &settings)};
    };
    EXPECT_EQ(refusing(3), std::pair(-1, 1u));
    settings.duplex = 2;
    EXPECT_EQ(refusing(3), std::pair(int{DEVLIST_DUPLEX_MODE}, 0u));
    settings.resolution = 6;
    EXPECT_EQ(refusing(3), std::pair(int{DEVLIST_RESOLUTION}, 0u)) << "the lower index first";
    EXPECT_EQ(refusing(2), std::pair(-1, 0u)) << "not offered: no setting to blame";
}

}  // namespace
