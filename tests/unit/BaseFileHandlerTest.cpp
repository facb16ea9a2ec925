#include <gtest/gtest.h>

#include <string>

#include "platform/LiveObjects.h"
#include "support/TestFiles.h"
#include "xml/BaseFileHandler.h"

using namespace quorveltwain;
using testsupport::BuildFolder;
using testsupport::FileExists;
using testsupport::ReadBytes;
using testsupport::SourcePath;
using testsupport::WriteBytes;

namespace {

constexpr char kEmptyList[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<param xml:space=\"preserve\"></param>\n";
constexpr char kOneConfig[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<param xml:space=\"preserve\"><scan_config>"
    "<config_id></config_id><config_name>Office</config_name><config_detail></config_detail>"
    "<scan_param><duplex>DUPLEX</duplex></scan_param></scan_config></param>\n";

// Shows what a derived handler sees of the document.
class InspectedHandler : public BaseFileHandler {
  public:
    InspectedHandler() : BaseFileHandler(HandlerKind::None) {}
    std::wstring RootName() { return rootElement ? NodeName(rootElement.Get()) : L""; }
    long RootChildren() { return Length(ChildNodes(rootElement.Get())); }
    bool Replace(std::wstring_view text) { return LoadText(text); }
};

class BaseFileHandlerTest : public ::testing::Test {
  protected:
    std::wstring schema = SourcePath(L"data/SCANCONFIGLIST.xsd");
    std::wstring scratch = BuildFolder(L"store-scratch");

    std::wstring Scratch(const wchar_t* name) { return scratch + L"\\" + name; }
};

TEST_F(BaseFileHandlerTest, LoadsAValidFileAndTakesItsRoot) {
    const std::wstring path = Scratch(L"base-valid.xml");
    ASSERT_TRUE(WriteBytes(path, kOneConfig));

    InspectedHandler handler;
    ASSERT_TRUE(handler.CreateDocument());
    ASSERT_TRUE(handler.Load(path, schema)) << handler.ErrorText();
    EXPECT_EQ(handler.ErrorText(), L"");
    EXPECT_EQ(handler.FilePath(), path);
    EXPECT_EQ(handler.RootName(), L"param");
    EXPECT_EQ(handler.RootChildren(), 1);
}

TEST_F(BaseFileHandlerTest, UnusableFilesAndSchemasGiveTheirFailureTexts) {
    const std::wstring valid = Scratch(L"base-before.xml");
    ASSERT_TRUE(WriteBytes(valid, kOneConfig));
    const std::wstring wrongOrder = Scratch(L"base-wrong-order.xml");
    ASSERT_TRUE(WriteBytes(wrongOrder,
                           "<?xml version=\"1.0\" encoding=\"UTF-8\"?><param><scan_config>"
                           "<config_name/><config_id/><config_detail/><scan_param/>"
                           "</scan_config></param>"));
    const std::wstring malformed = Scratch(L"base-malformed.xml");
    ASSERT_TRUE(WriteBytes(malformed, "<?xml version=\"1.0\"?><param><scan_config></param>"));

    InspectedHandler handler;
    ASSERT_TRUE(handler.CreateDocument());
    ASSERT_TRUE(handler.Load(valid, schema));

    EXPECT_FALSE(handler.Load(Scratch(L"base-no-such-file.xml"), schema));
    EXPECT_EQ(handler.ErrorText(), L"Not a valid XML file");
    // A failed load leaves the previous root in place.
    EXPECT_EQ(handler.RootName(), L"param");
    EXPECT_EQ(handler.RootChildren(), 1);

    EXPECT_FALSE(handler.Load(wrongOrder, schema));
    EXPECT_EQ(handler.ErrorText(), L"Not a valid XML file");
    EXPECT_FALSE(handler.Load(malformed, schema));
    EXPECT_EQ(handler.ErrorText(), L"Not a valid XML file");

    InspectedHandler noSchema;
    ASSERT_TRUE(noSchema.CreateDocument());
    EXPECT_FALSE(noSchema.Load(valid, Scratch(L"no-such-schema.xsd")));
    EXPECT_EQ(noSchema.ErrorText(), L"COM Error");
    // A file that is no schema at all fails the same way.
    EXPECT_FALSE(noSchema.Load(valid, malformed));
    EXPECT_EQ(noSchema.ErrorText(), L"COM Error");

    // Without its DOM objects nothing works, and nothing crashes.
    InspectedHandler bare;
    EXPECT_FALSE(bare.Load(valid, schema));
    EXPECT_EQ(bare.ErrorText(), L"COM Error");
    EXPECT_FALSE(bare.Save(Scratch(L"base-bare.xml")));
    EXPECT_FALSE(FileExists(Scratch(L"base-bare.xml")));
}

TEST_F(BaseFileHandlerTest, SaveWithoutPathWritesWhereTheLastLoadPointed) {
    const std::wstring source = Scratch(L"base-source.xml");
    ASSERT_TRUE(WriteBytes(source, kOneConfig));
    const std::wstring target = Scratch(L"base-target.xml");
    DeleteFileW(target.c_str());

    InspectedHandler handler;
    ASSERT_TRUE(handler.CreateDocument());
    ASSERT_TRUE(handler.Load(source, schema));
    // The load of the missing target fails after taking its path.
    EXPECT_FALSE(handler.Load(target, schema));
    EXPECT_EQ(handler.FilePath(), target);
    // The failed load left an empty document, not the schema it parsed on the way.
    ASSERT_TRUE(handler.Save(L""));
    EXPECT_TRUE(FileExists(target));
    EXPECT_EQ(ReadBytes(target).find("schema"), std::string::npos);
    // A failed load leaves the DOM empty; give it content again before saving.
    ASSERT_TRUE(
        handler.Replace(L"<param><scan_config><config_id/><config_name/>"
                        L"<config_detail/><scan_param/></scan_config></param>"));
    ASSERT_TRUE(handler.Save(L""));
    EXPECT_EQ(ReadBytes(source), kOneConfig);
    InspectedHandler reader;
    ASSERT_TRUE(reader.CreateDocument());
    ASSERT_TRUE(reader.Load(target, schema)) << reader.ErrorText();
    EXPECT_EQ(reader.RootChildren(), 1);
}

TEST_F(BaseFileHandlerTest, SaveReplacesTheFileInOneStepAndLeavesNoTemporaryFile) {
    const std::wstring folder = BuildFolder(L"store-scratch\\atomic");
    testsupport::DeleteFiles(folder, L"*");
    const std::wstring source = folder + L"\\source.xml";
    ASSERT_TRUE(WriteBytes(source, kOneConfig));
    const std::wstring target = folder + L"\\target.xml";
    ASSERT_TRUE(WriteBytes(target, kEmptyList));

    InspectedHandler handler;
    ASSERT_TRUE(handler.CreateDocument());
    ASSERT_TRUE(handler.Load(source, schema));
    ASSERT_TRUE(handler.Save(target));
    EXPECT_NE(ReadBytes(target).find("<config_name>Office</config_name>"), std::string::npos);
    EXPECT_EQ(testsupport::CountFiles(folder, L"*"), 2u);

    // A folder that does not exist cannot take the temporary file: nothing is written.
    EXPECT_FALSE(handler.Save(folder + L"\\missing\\target.xml"));
    EXPECT_EQ(handler.ErrorText(), L"COM Error");
    // A read-only target stays as it was, and the temporary file goes again.
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(handler.Load(target, schema));
    const std::string before = ReadBytes(target);
    ASSERT_TRUE(WriteBytes(source, kEmptyList));
    ASSERT_TRUE(handler.Load(source, schema));
    EXPECT_FALSE(handler.Save(target));
    EXPECT_EQ(ReadBytes(target), before);
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(testsupport::CountFiles(folder, L"*.tmp"), 0u);
    EXPECT_EQ(testsupport::CountFiles(folder, L"*"), 2u);
}

TEST_F(BaseFileHandlerTest, EveryComReferenceGoesWithTheHandler) {
    const std::wstring path = Scratch(L"base-live.xml");
    ASSERT_TRUE(WriteBytes(path, kOneConfig));
    const long start = LiveObjects::Count(LiveKind::ComReference);
    {
        InspectedHandler handler;
        ASSERT_TRUE(handler.CreateDocument());
        EXPECT_EQ(LiveObjects::Count(LiveKind::ComReference), start + 2);
        ASSERT_TRUE(handler.Load(path, schema));
        EXPECT_EQ(handler.RootChildren(), 1);
        EXPECT_EQ(LiveObjects::Count(LiveKind::ComReference), start + 3);
        // Creating again replaces both objects; nothing is kept twice.
        ASSERT_TRUE(handler.CreateDocument());
        EXPECT_EQ(LiveObjects::Count(LiveKind::ComReference), start + 3);
    }
    EXPECT_EQ(LiveObjects::Count(LiveKind::ComReference), start);
}

TEST_F(BaseFileHandlerTest, ThePlatformRefusesEveryStructurallyWrongSample) {
    // The same samples that xmllint must refuse (store_files_validate): the schema has
    // to work in the DOM the library really uses, not only in the independent validator.
    const std::wstring folder = SourcePath(L"tests/data/scan-config-refused");
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*.xml").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    int samples = 0;
    do {
        const std::wstring sample = folder + L"\\" + found.cFileName;
        InspectedHandler handler;
        ASSERT_TRUE(handler.CreateDocument());
        EXPECT_FALSE(handler.Load(sample, schema)) << sample;
        EXPECT_EQ(handler.ErrorText(), L"Not a valid XML file") << sample;
        ++samples;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_GE(samples, 10);
}

}  // namespace
