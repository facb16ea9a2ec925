#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include "platform/LiveObjects.h"
#include "platform/Bstr.h"
#include "platform/ComError.h"
#include "platform/ComPtr.h"
#include "xml/MsxmlInterfaces.h"
#include "platform/Variant.h"

using namespace quorveltwain;

namespace {

class ComApartment {
  public:
    ComApartment() { CoInitialize(nullptr); }
    ~ComApartment() { CoUninitialize(); }
};

TEST(XmlComWrappers, InterfaceIdsMatchThePlatformsOwn) {
    // The ids the project declares itself must agree with those the import library has.
    EXPECT_TRUE(IsEqualGUID(__uuidof(IXMLDOMNode), IID_IXMLDOMNode));
    EXPECT_TRUE(IsEqualGUID(__uuidof(IXMLDOMElement), IID_IXMLDOMElement));
    EXPECT_TRUE(IsEqualGUID(__uuidof(IXMLDOMNodeList), IID_IXMLDOMNodeList));
    EXPECT_TRUE(IsEqualGUID(__uuidof(IXMLDOMParseError), IID_IXMLDOMParseError));
    EXPECT_TRUE(IsEqualGUID(__uuidof(IXMLDOMText), IID_IXMLDOMText));
    EXPECT_TRUE(IsEqualGUID(__uuidof(IXMLDOMDocument2), kIidXmlDomDocument2));
    EXPECT_TRUE(IsEqualGUID(__uuidof(IXMLDOMSchemaCollection2), kIidXmlDomSchemaCollection2));
}

TEST(XmlComWrappers, ReferencesAreCountedAndReleasedOnce) {
    ComApartment apartment;
    const long start = LiveObjects::Count(LiveKind::ComReference);
    {
        ComPtr<IXMLDOMDocument2> document;
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(kClsidDomDocument60, nullptr,
                                                  CLSCTX_INPROC_SERVER, kIidXmlDomDocument2,
                                                  document.Put()));
        ASSERT_TRUE(document);
        EXPECT_EQ(LiveObjects::Count(LiveKind::ComReference), start + 1);

        ComPtr<IXMLDOMNode> asNode = document.As<IXMLDOMNode>();
        EXPECT_EQ(LiveObjects::Count(LiveKind::ComReference), start + 2);

        // Moving hands the one reference over; the count stays.
        ComPtr<IXMLDOMNode> moved = std::move(asNode);
        EXPECT_FALSE(asNode);
        EXPECT_EQ(LiveObjects::Count(LiveKind::ComReference), start + 2);

        // Put releases what it held before the call fills it again.
        ASSERT_HRESULT_SUCCEEDED(document->QueryInterface(IID_IXMLDOMNode, moved.Put()));
        EXPECT_EQ(LiveObjects::Count(LiveKind::ComReference), start + 2);
    }
    EXPECT_EQ(LiveObjects::Count(LiveKind::ComReference), start);
}

TEST(XmlComWrappers, CallsThroughAnEmptyReferenceRaiseInvalidPointer) {
    ComPtr<IXMLDOMDocument2> empty;
    try {
        VARIANT_BOOL ignored;
        empty->get_async(&ignored);
        FAIL() << "no ComError";
    } catch (const ComError& error) {
        EXPECT_EQ(error.Status(), E_POINTER);
        EXPECT_STREQ(error.what(), "COM Error");
    }
    EXPECT_THROW(empty.As<IXMLDOMNode>(), ComError);
}

TEST(XmlComWrappers, OnlyFailingStatusesRaise) {
    EXPECT_NO_THROW(ThrowIfFailed(S_OK));
    EXPECT_NO_THROW(ThrowIfFailed(S_FALSE));
    try {
        ThrowIfFailed(E_OUTOFMEMORY);
        FAIL() << "no ComError";
    } catch (const ComError& error) {
        EXPECT_EQ(error.Status(), E_OUTOFMEMORY);
    }
}

TEST(XmlComWrappers, TextsKeepTheirLengthAndNumbersConvertAsAutomationDoes) {
    const Bstr withNul(std::wstring_view(L"a\0b", 3));
    EXPECT_EQ(withNul.View().size(), 3u);
    EXPECT_EQ(Bstr().View(), L"");
    EXPECT_EQ(Bstr(L"").View(), L"");

    Bstr moved = Bstr(L"name");
    Bstr target;
    target = std::move(moved);
    EXPECT_EQ(target.View(), L"name");
    EXPECT_EQ(moved.Get(), nullptr);

    // Whole numbers carry no decimal separator: the file format relies on it.
    EXPECT_EQ(Variant::FromDouble(42.0).ToText(), L"42");
    EXPECT_EQ(Variant::FromDouble(-7.0).ToText(), L"-7");
    EXPECT_EQ(Variant::FromDouble(0.0).ToText(), L"0");
    EXPECT_EQ(Variant::FromText(L"Z:\\x.xml").Get().vt, VT_BSTR);
    EXPECT_EQ(Variant::FromText(L"Z:\\x.xml").ToText(), L"Z:\\x.xml");
}

}  // namespace
