#include "xml/DevListFileHandler.h"

#include <new>

#include "settings/ValueVocabulary.h"
#include "platform/Bstr.h"
#include "xml/DevListNumbers.h"
#include "xml/DevListRecordBuilder.h"
#include "xml/DevListSetting.h"
#include "platform/Variant.h"

namespace quorveltwain {

namespace {

// A memory size the record cannot hold: the read fails like a malformed document.
struct BadNumber {};

}  // namespace

DevListFileHandler::~DevListFileHandler() = default;

bool DevListFileHandler::Read() noexcept {
    try {
        // A missing root element raises here, like any failing call.
        const ComPtr<IXMLDOMNodeList> children = ChildNodes(rootElement.Get());
        const long count = Length(children);
        if (count < 1) return false;

        record_ = nullptr;
        DevListRecordBuilder builder;
        while (const ComPtr<IXMLDOMNode> child = NextNode(children)) {
            ReadChild(builder, child.Get());
        }
        record_ = builder.Publish();
        return record_ != nullptr;
    } catch (const ComError&) {
        SetErrorText(kComErrorText);
    } catch (...) {
        // Exhausted memory or a memory size out of range: no record to hand out.
    }
    record_ = nullptr;
    return false;
}

void DevListFileHandler::ReadChild(DevListRecordBuilder& builder, IXMLDOMNode* child) {
    currentElementName_ = NodeName(child);
    const std::wstring& name = currentElementName_;
    if (const int setting = DevListSettingOfElement(name); setting >= 0) {
        ReadSetting(builder, setting, child);
    } else if (name == L"model") {
        builder.SetModelName(NodeText(child));
    } else if (name == L"reverse_image") {
        builder.AddReverseImage(TokenToCode(Vocabulary::OnOff, NodeText(child)));
    } else if (name == L"rotation") {
        builder.AddRotation(TokenToCode(Vocabulary::Rotation, NodeText(child)));
    } else if (name == L"frame_entry") {
        ReadFrame(builder, child);
    } else if (name == L"memory_size") {
        const auto size = ParseMemorySize(NodeText(child));
        if (!size) throw BadNumber{};
        builder.SetMemorySize(*size);
    }
}

void DevListFileHandler::ReadFrame(DevListRecordBuilder& builder, IXMLDOMNode* frame) {
    const ComPtr<IXMLDOMNodeList> children = ChildNodes(frame);
    while (const ComPtr<IXMLDOMNode> child = NextNode(children)) {
        const std::wstring name = NodeName(child.Get());
        const std::wstring text = NodeText(child.Get());
        if (text.empty()) continue;  // an empty size leaves the one read before
        if (name == L"max_width") builder.SetMaxWidth(ParseFrameSize(text));
        if (name == L"max_length") builder.SetMaxLength(ParseFrameSize(text));
    }
}

void DevListFileHandler::ReadSetting(DevListRecordBuilder& builder, int setting,
                                     IXMLDOMNode* settingElement) {
    childList_ = ChildNodes(settingElement);
    // Counted first: every child that is read is a value.
    builder.ReserveValues(setting, static_cast<std::size_t>(Length(childList_)));
    const Bstr nameAttribute(L"name");
    const Bstr defaultAttribute(L"default");
    while (const ComPtr<IXMLDOMNode> node = NextNode(childList_)) {
        // Only value elements may stand here: anything else fails the read.
        const ComPtr<IXMLDOMElement> value = node.As<IXMLDOMElement>();
        Variant name;
        Check(value->getAttribute(nameAttribute.Get(), name.Put()), value);
        if (name.Get().vt == VT_NULL || name.Get().vt == VT_EMPTY) break;  // ends this setting

        Variant isDefault;
        Check(value->getAttribute(defaultAttribute.Get(), isDefault.Put()), value);
        // Presence alone marks the default, whatever the attribute says.
        currentDefaultMark_ = isDefault.Get().vt != VT_NULL && isDefault.Get().vt != VT_EMPTY;

        const std::int32_t code = TokenToCode(kDevListSettings[setting].vocabulary, name.ToText());
        builder.AddValue(setting, code, currentDefaultMark_);
        ReadRestrictions(builder, setting, value.Get());
    }
}

void DevListFileHandler::ReadRestrictions(DevListRecordBuilder& builder, int setting,
                                          IXMLDOMNode* value) {
    VARIANT_BOOL hasChildren = VARIANT_FALSE;
    Check(value->hasChildNodes(&hasChildren));
    if (hasChildren != VARIANT_TRUE) return;

    ComPtr<IXMLDOMNode> node;
    Check(value->get_firstChild(node.Put()));
    while (node) {
        const std::wstring text = NodeText(node.Get());
        const std::wstring name = NodeName(node.Get());
        const int refusing = DevListSettingOfRestriction(name);
        // A restriction naming the value's own setting says nothing and is ignored.
        if (refusing >= 0 && refusing != setting) {
            builder.AddRestriction(setting, refusing,
                                   TokenToCode(kDevListSettings[refusing].vocabulary, text));
        }
        ComPtr<IXMLDOMNode> next;
        Check(node->get_nextSibling(next.Put()));
        node = std::move(next);
    }
}

}  // namespace quorveltwain
