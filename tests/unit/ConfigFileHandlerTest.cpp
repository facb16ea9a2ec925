#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

#include "support/TestFiles.h"
#include "xml/ConfigFileHandler.h"

using namespace quorveltwain;

namespace {

// Loads XML without a schema, so the reader's own rules can be seen on files the schema
// would refuse, and shows the document that the writer builds.
class FormatProbe : public ConfigFileHandler {
  public:
    FormatProbe() { created = CreateDocument(); }
    bool created = false;

    bool LoadUnchecked(std::wstring_view xml) {
        if (!LoadText(xml)) return false;
        TakeRootElement();
        return true;
    }
    // The root element as Save writes it (the DOM's own serialisation may indent).
    std::wstring RootXml() {
        const std::wstring path = testsupport::NextStoreFile();
        if (!Save(path)) return L"(not saved)";
        const std::string bytes = testsupport::ReadBytes(path);
        const std::size_t start = bytes.find("?>\n");
        if (bytes.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", 0) != 0 || bytes.empty() ||
            bytes.back() != '\n') {
            return L"(unexpected declaration or end)";
        }
        const std::string root = bytes.substr(start + 3, bytes.size() - start - 4);
        std::wstring text(root.size(), L'\0');
        text.resize(MultiByteToWideChar(CP_UTF8, 0, root.data(), static_cast<int>(root.size()),
                                        text.data(), static_cast<int>(text.size())));
        return text;
    }
    void SetConfigs(std::vector<ScanSettingsRecord> records) { configs = std::move(records); }
};

std::wstring Param(std::wstring_view content) {
    return L"<param xml:space=\"preserve\">" + std::wstring(content) + L"</param>";
}

ScanSettingsRecord FullRecord() {
    ScanSettingsRecord r{};
    r.reserved = 99;
    r.original_size = 3;          // A4
    r.original_orientation = 2;   // PORTRAIT_LONG_EDGE_ALIGNED
    r.duplex = 4;                 // DUPLEX_TOP
    r.exposure_level = 13;        // NEGATIVE_1_5
    r.original_image = 2;         // TEXT_AND_PHOTO
    r.resolution = 7;             // RESOLUTION_150X150
    r.color_selection = 5;        // AUTO_BLACK_AND_WHITE
    r.prevent_bleed_through = 2;  // ON
    std::wcscpy(r.config_name, L"Invoices <A&B>");
    std::wcscpy(r.config_detail, L"double-sided, grey");
    std::wcscpy(r.config_id, L"0f8fad5b-d9cb-469f-a165-70867728950e");
    r.sending_size = 1;   // SAME_AS_ORIGINAL
    r.contrast = 6;       // POSITIVE_2
    r.reverse_image = 1;  // OFF
    r.has_frame_entry = 1;
    r.left = 10;
    r.top = 20;
    r.right = 2100;
    r.bottom = 2970;
    r.rotation = 3;  // _180_CLOCKWISE
    r.model = 17;    // MODEL_LINDEN
    std::wcscpy(r.aux_text, L"not stored");
    return r;
}

TEST(ConfigFileFormat, WritesEveryElementInItsOrderWithItsToken) {
    FormatProbe probe;
    ASSERT_TRUE(probe.created);
    probe.SetConfigs({FullRecord()});
    ASSERT_TRUE(probe.WriteConfigs()) << probe.ErrorText();
    EXPECT_EQ(probe.RootXml(),
              Param(L"<scan_config>"
                    L"<config_id>0f8fad5b-d9cb-469f-a165-70867728950e</config_id>"
                    L"<config_name>Invoices &lt;A&amp;B&gt;</config_name>"
                    L"<config_detail>double-sided, grey</config_detail>"
                    L"<scan_param>"
                    L"<original_size>A4</original_size>"
                    L"<original_orientation>PORTRAIT_LONG_EDGE_ALIGNED</original_orientation>"
                    L"<duplex>DUPLEX_TOP</duplex>"
                    L"<exposure_level>NEGATIVE_1_5</exposure_level>"
                    L"<original_image>TEXT_AND_PHOTO</original_image>"
                    L"<resolution>RESOLUTION_150X150</resolution>"
                    L"<color_selection>AUTO_BLACK_AND_WHITE</color_selection>"
                    L"<prevent_bleed_through>ON</prevent_bleed_through>"
                    L"<sending_size>SAME_AS_ORIGINAL</sending_size>"
                    L"<contrast>POSITIVE_2</contrast>"
                    L"<reverse_image>OFF</reverse_image>"
                    L"<frame_entry><left>10</left><top>20</top><right>2100</right>"
                    L"<bottom>2970</bottom></frame_entry>"
                    L"<rotation>_180_CLOCKWISE</rotation>"
                    L"</scan_param>"
                    L"<model>MODEL_LINDEN</model>"
                    L"</scan_config>"));
}

TEST(ConfigFileFormat, WritesOnlyWhatIsSet) {
    FormatProbe probe;
    ASSERT_TRUE(probe.created);
    probe.SetConfigs({});
    ASSERT_TRUE(probe.WriteConfigs());
    EXPECT_EQ(probe.RootXml(), L"<param xml:space=\"preserve\"/>");

    ScanSettingsRecord unset{};
    ScanSettingsRecord oddFrame{};
    // Only 1 means "has a frame": the coordinates of any other value are not written.
    oddFrame.has_frame_entry = 2;
    oddFrame.left = 5;
    oddFrame.bottom = 7;
    oddFrame.model = 1;  // written as its family's one token
    ScanSettingsRecord unknownCodes{};
    unknownCodes.duplex = 7;  // one past DuplexMode
    unknownCodes.rotation = -1;
    unknownCodes.model = 18;
    probe.SetConfigs({unset, oddFrame, unknownCodes});
    ASSERT_TRUE(probe.WriteConfigs());
    EXPECT_EQ(probe.RootXml(),
              Param(L"<scan_config><config_id></config_id><config_name></config_name>"
                    L"<config_detail></config_detail><scan_param/></scan_config>"
                    L"<scan_config><config_id></config_id><config_name></config_name>"
                    L"<config_detail></config_detail><scan_param/>"
                    L"<model>MODEL_ASPEN3</model></scan_config>"
                    L"<scan_config><config_id></config_id><config_name></config_name>"
                    L"<config_detail></config_detail><scan_param><duplex></duplex>"
                    L"<rotation></rotation></scan_param><model></model></scan_config>"));

    // And back: the unknown codes read as "not set", model 1 as 2.
    ASSERT_TRUE(probe.ReadConfigs());
    ASSERT_EQ(probe.Configs().size(), 3u);
    EXPECT_EQ(probe.Configs()[1].model, 2);
    EXPECT_EQ(probe.Configs()[1].has_frame_entry, 0);
    EXPECT_EQ(probe.Configs()[1].left, 0.0);
    EXPECT_EQ(probe.Configs()[2].duplex, 0);
    EXPECT_EQ(probe.Configs()[2].rotation, 0);
    EXPECT_EQ(probe.Configs()[2].model, 0);
}

TEST(ConfigFileFormat, ReadsEveryChildOfTheRootAndOnlyExactNames) {
    FormatProbe probe;
    ASSERT_TRUE(probe.created);
    ASSERT_TRUE(probe.LoadUnchecked(Param(
        L"<!-- saved by hand -->"
        L"<scan_config><config_name>Mail</config_name>"
        L"<scan_param><Duplex>DUPLEX</Duplex><duplex> DUPLEX</duplex>"
        L"<resolution>RESOLUTION_300X300</resolution><resolution>RESOLUTION_600X600</resolution>"
        L"<color_selection>grayscale</color_selection><model>MODEL_FERN</model>"
        L"<frame_entry><left>12.7</left></frame_entry></scan_param>"
        L"<model>MODEL_ASPEN3</model><unknown>x</unknown></scan_config>"
        L"<other><config_name>Not a scan_config, but read</config_name></other>")));
    ASSERT_TRUE(probe.ReadConfigs()) << probe.ErrorText();
    ASSERT_EQ(probe.Configs().size(), 3u);

    const ScanSettingsRecord& comment = probe.Configs()[0];
    const ScanSettingsRecord zero{};
    EXPECT_EQ(std::memcmp(&comment, &zero, sizeof zero), 0);

    const ScanSettingsRecord& mail = probe.Configs()[1];
    EXPECT_STREQ(mail.config_name, L"Mail");
    EXPECT_EQ(mail.duplex, 0);           // "Duplex" ignored, " DUPLEX" is no token
    EXPECT_EQ(mail.resolution, 6);       // the later element wins
    EXPECT_EQ(mail.color_selection, 0);  // tokens are case-sensitive
    EXPECT_EQ(mail.model, 2);            // the one inside scan_param is ignored
    EXPECT_EQ(mail.has_frame_entry, 1);
    EXPECT_DOUBLE_EQ(mail.left, 12.7);
    EXPECT_EQ(mail.top, 0.0);
    EXPECT_EQ(mail.right, 0.0);
    EXPECT_EQ(mail.bottom, 0.0);

    EXPECT_STREQ(probe.Configs()[2].config_name, L"Not a scan_config, but read");

    // Writing back drops what read as 0 and completes the frame.
    ASSERT_TRUE(probe.WriteConfigs());
    const std::wstring xml = probe.RootXml();
    EXPECT_NE(xml.find(L"<scan_param><resolution>RESOLUTION_600X600</resolution>"
                       L"<frame_entry><left>12.7</left><top>0</top><right>0</right>"
                       L"<bottom>0</bottom></frame_entry></scan_param>"),
              std::wstring::npos)
        << xml;
    EXPECT_EQ(xml.find(L"duplex"), std::wstring::npos);
}

TEST(ConfigFileFormat, CoordinatesReadAsTheClassicLocaleDoes) {
    // A host may have switched the C library to a locale with a decimal comma.
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "German_Germany.1252");

    FormatProbe probe;
    ASSERT_TRUE(probe.created);
    ASSERT_TRUE(probe.LoadUnchecked(
        Param(L"<scan_config><scan_param><frame_entry>"
              L"<left>  \t-12.5mm</left><top>+3e2</top><right>abc</right><bottom></bottom>"
              L"</frame_entry></scan_param></scan_config>"
              L"<scan_config><scan_param><frame_entry>"
              L"<left>7,5</left><top>+-1</top><right>.25</right><bottom>1e</bottom>"
              L"</frame_entry></scan_param></scan_config>"
              // A no-break space is white space in some locales, not in the classic one.
              L"<scan_config><scan_param><frame_entry><left>\u00a05</left>"
              L"</frame_entry></scan_param></scan_config>")));
    ASSERT_TRUE(probe.ReadConfigs());
    std::setlocale(LC_ALL, previous.c_str());

    ASSERT_EQ(probe.Configs().size(), 3u);
    const ScanSettingsRecord& first = probe.Configs()[0];
    EXPECT_EQ(first.left, -12.5);
    EXPECT_EQ(first.top, 300.0);
    EXPECT_EQ(first.right, 0.0);
    EXPECT_EQ(first.bottom, 0.0);
    const ScanSettingsRecord& second = probe.Configs()[1];
    EXPECT_EQ(second.left, 7.0);  // a comma ends the number
    EXPECT_EQ(second.top, 0.0);
    EXPECT_EQ(second.right, 0.25);
    EXPECT_EQ(second.bottom, 1.0);
    EXPECT_EQ(probe.Configs()[2].left, 0.0);
}

TEST(ConfigFileFormat, TextsLongerThanTheirFieldAreCutToIt) {
    FormatProbe probe;
    ASSERT_TRUE(probe.created);
    const std::wstring longName(40, L'n');
    const std::wstring longId(50, L'i');
    // 31 letters and then a character outside the basic plane: its two halves do not fit
    // in the 32 units left, and half a character is never kept.
    const std::wstring splitPair = std::wstring(31, L'd') + L"\xD83D\xDCC4";
    ASSERT_TRUE(probe.LoadUnchecked(
        Param(L"<scan_config><config_id>" + longId + L"</config_id><config_name>" + longName +
              L"</config_name><config_detail>" + splitPair + L"</config_detail></scan_config>")));
    ASSERT_TRUE(probe.ReadConfigs());
    ASSERT_EQ(probe.Configs().size(), 1u);
    const ScanSettingsRecord& read = probe.Configs()[0];
    EXPECT_EQ(std::wstring(read.config_name), std::wstring(32, L'n'));
    EXPECT_EQ(std::wstring(read.config_id), std::wstring(36, L'i'));
    EXPECT_EQ(std::wstring(read.config_detail), std::wstring(31, L'd'));

    // A host record whose texts fill their fields without a terminating NUL.
    ScanSettingsRecord unterminated{};
    std::wmemset(unterminated.config_name, L'x', SCAN_CONFIG_NAME_CHARS);
    std::wmemset(unterminated.config_detail, L'y', SCAN_CONFIG_DETAIL_CHARS);
    std::wmemset(unterminated.config_id, L'z', SCAN_CONFIG_ID_CHARS);
    probe.SetConfigs({unterminated});
    ASSERT_TRUE(probe.WriteConfigs());
    EXPECT_EQ(probe.RootXml(), Param(L"<scan_config><config_id>" + std::wstring(36, L'z') +
                                     L"</config_id><config_name>" + std::wstring(32, L'x') +
                                     L"</config_name><config_detail>" + std::wstring(32, L'y') +
                                     L"</config_detail><scan_param/></scan_config>"));
}

TEST(ConfigFileFormat, ListChangesRebuildTheDocument) {
    FormatProbe probe;
    ASSERT_TRUE(probe.created);
    ASSERT_TRUE(probe.LoadUnchecked(Param(L"")));
    ASSERT_TRUE(probe.ReadConfigs());
    ScanSettingsRecord a{}, b{}, c{};
    std::wcscpy(a.config_name, L"a");
    std::wcscpy(b.config_name, L"b");
    std::wcscpy(c.config_name, L"c");
    ASSERT_TRUE(probe.AppendConfig(a));
    ASSERT_TRUE(probe.AppendConfig(b));
    ASSERT_TRUE(probe.ReplaceConfig(0, c));
    ASSERT_TRUE(probe.RemoveConfig(1));
    EXPECT_FALSE(probe.RemoveConfig(1));
    EXPECT_FALSE(probe.ReplaceConfig(1, a));
    ASSERT_EQ(probe.Configs().size(), 1u);
    EXPECT_STREQ(probe.Configs()[0].config_name, L"c");
    EXPECT_EQ(probe.RootXml(),
              Param(L"<scan_config><config_id></config_id><config_name>c</config_name>"
                    L"<config_detail></config_detail><scan_param/></scan_config>"));
}

TEST(ConfigFileFormat, ReadingWithoutARootFails) {
    ConfigFileHandler handler;
    ASSERT_TRUE(handler.CreateDocument());
    EXPECT_FALSE(handler.ReadConfigs());
    // Rebuilding works from any state: it starts from the skeleton.
    EXPECT_TRUE(handler.WriteConfigs());
    EXPECT_TRUE(handler.ReadConfigs());
    EXPECT_TRUE(handler.Configs().empty());
}

}  // namespace
