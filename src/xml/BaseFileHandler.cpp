#include "xml/BaseFileHandler.h"

#include <objbase.h>
#include <ole2.h>
#include <shlwapi.h>

#include <new>

#include "platform/Bstr.h"
#include "xml/TemporaryFile.h"
#include "platform/Variant.h"

namespace quorveltwain {

namespace {

// In-process server, in-process handler, local server and remote server.
constexpr DWORD kCreationContext =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
static_assert(kCreationContext == 23);

// Creates an object, puts it in its running state and asks it for interface T; the
// creation reference goes when `created` leaves. Returns empty on any failing step.
template <typename T>
ComPtr<T> CreateRunningObject(const CLSID& classId, const IID& interfaceId) noexcept {
    ComPtr<IUnknown> created;
    if (FAILED(
            ::CoCreateInstance(classId, nullptr, kCreationContext, IID_IUnknown, created.Put()))) {
        return {};
    }
    if (FAILED(::OleRun(created.Get()))) return {};
    ComPtr<T> wanted;
    if (FAILED(created.Get()->QueryInterface(interfaceId, wanted.Put()))) return {};
    return wanted;
}

}  // namespace

BaseFileHandler::BaseFileHandler(HandlerKind kind) noexcept : kind_(kind) {
    const HRESULT status = ::CoInitialize(nullptr);
    comInitialized_ = SUCCEEDED(status);
}

BaseFileHandler::~BaseFileHandler() {
    // The references go before the apartment does; the strings follow as members.
    rootElement.Reset();
    document.Reset();
    schemaCache.Reset();
    if (comInitialized_) ::CoUninitialize();
    // Written through a volatile view, or the compiler drops a store into an object that is
    // about to end; a handle closed twice must not find its kind again.
    *static_cast<volatile HandlerKind*>(&kind_) = HandlerKind::None;
}

BaseFileHandler* BaseFileHandler::FromHandle(void* handle) noexcept {
    const auto address = reinterpret_cast<std::uintptr_t>(handle);
    // Handlers live on the heap: aligned, and above the first 64 KB, which is never mapped.
    if (address < 0x10000 || address % alignof(BaseFileHandler) != 0) return nullptr;
    // A stray address may name memory that is absent or unreadable: the whole base object
    // must lie in readable memory before its kind is looked at.
    MEMORY_BASIC_INFORMATION region{};
    if (::VirtualQuery(handle, &region, sizeof region) != sizeof region) return nullptr;
    constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY |
                                PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    if (region.State != MEM_COMMIT || (region.Protect & kReadable) == 0 ||
        (region.Protect & PAGE_GUARD) != 0) {
        return nullptr;
    }
    const auto regionEnd = reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize;
    if (regionEnd - address < sizeof(BaseFileHandler)) return nullptr;

    auto* handler = static_cast<BaseFileHandler*>(handle);
    const HandlerKind kind = *static_cast<const volatile HandlerKind*>(&handler->kind_);
    if (kind != HandlerKind::ConfigStore && kind != HandlerKind::DeviceList) return nullptr;
    return handler;
}

void BaseFileHandler::SetErrorText(std::wstring_view text) noexcept {
    try {
        errorText.assign(text);
    } catch (...) {
        errorText.clear();
    }
}

bool BaseFileHandler::CreateDocument() noexcept {
    document.Reset();
    document = CreateRunningObject<IXMLDOMDocument2>(kClsidDomDocument60, kIidXmlDomDocument2);
    // A document may read nothing but its own bytes: no document type (so no external
    // subset, no entities), nothing resolved outside. MSXML 6 then refuses a document type
    // while parsing; Wine accepts both settings and ignores them (see Load).
    try {
        if (document) {
            Check(document->setProperty(Bstr(L"ProhibitDTD").Get(), Variant::FromBool(true).Get()));
            Check(document->put_resolveExternals(VARIANT_FALSE));
        }
    } catch (const ComError&) {
        document.Reset();
    }
    schemaCache.Reset();
    schemaCache = CreateRunningObject<IXMLDOMSchemaCollection2>(kClsidXmlSchemaCache60,
                                                                kIidXmlDomSchemaCollection2);
    return document && schemaCache;
}

bool BaseFileHandler::Load(std::wstring_view path, std::wstring_view schemaPath) noexcept {
    // The path is kept even when the schema fails: Save then still writes there.
    if (!RunFileOperation([&] {
            filePath.assign(path);
            return true;
        })) {
        return false;
    }
    return LoadSchema(schemaPath) && LoadFile(path);
}

bool BaseFileHandler::LoadSchema(std::wstring_view schemaPath) noexcept {
    return RunFileOperation([&]() -> bool {
        // Both files reach the DOM as streams of their bytes: loading by path makes the
        // platform bind a URL moniker for each, which costs more than everything else
        // here together. A schema file that cannot be read is a failure of the platform
        // set-up ("COM Error"); the XML file's absence is the file's own.
        ComPtr<IStream> schemaStream;
        Check(OpenFileStream(std::wstring(schemaPath), schemaStream));
        AddSchema(schemaStream);
        SetValidation(true);
        return true;
    });
}

bool BaseFileHandler::LoadFile(std::wstring_view path) noexcept {
    return RunFileOperation([&]() -> bool {
        filePath.assign(path);
        // A missing, unreadable, malformed or invalid file is the file's fault, not a COM
        // failure. Validation while parsing is not guaranteed (Wine skips it), so the
        // loaded document is validated again.
        if (!LoadFileBytes(filePath) || !Validates()) {
            SetErrorText(kInvalidFileText);
            return false;
        }
        TakeRootElement();
        return true;
    });
}

void BaseFileHandler::SetValidation(bool validating) {
    // An empty variant detaches whatever schema was attached.
    const Variant schemas = validating ? Variant::FromDispatch(schemaCache.Get()) : Variant();
    Check(document->putref_schemas(schemas.Get()), document);
    Check(document->put_async(VARIANT_FALSE), document);
    // Validating while parsing makes Wine's parser fetch the external subset that a document
    // type names, and Wine does not validate against the schemas then anyway: Validates()
    // checks the parsed document instead.
    Check(document->put_validateOnParse(VARIANT_FALSE), document);
}

bool BaseFileHandler::LoadFileBytes(const std::wstring& path) {
    // Loaded by path the DOM reports a bad file with S_FALSE and the flag; loaded from a
    // stream, Wine answers malformed bytes with E_FAIL instead. Both are the file's fault.
    ComPtr<IStream> fileStream;
    VARIANT_BOOL loaded = VARIANT_FALSE;
    HRESULT loadStatus = OpenFileStream(path, fileStream);
    if (SUCCEEDED(loadStatus)) {
        loadStatus = document->load(Variant::FromUnknown(fileStream.Get()).Get(), &loaded);
    } else {
        // As after any failed load, the document is empty, not what it held before.
        const Bstr nothing(L"");
        Check(document->loadXML(nothing.Get(), &loaded), document);
        loaded = VARIANT_FALSE;
    }
    // A document type could reach outside the file: such a file is refused.
    return SUCCEEDED(loadStatus) && loaded == VARIANT_TRUE && !HasDocumentType();
}

bool BaseFileHandler::Validates() {
    ComPtr<IXMLDOMParseError> parseError;
    Check(document->validate(parseError.Put()), document);
    long errorCode = 0;
    Check(parseError->get_errorCode(&errorCode), parseError);
    return errorCode == 0;
}

HRESULT BaseFileHandler::OpenFileStream(const std::wstring& path,
                                        ComPtr<IStream>& stream) noexcept {
    return ::SHCreateStreamOnFileEx(path.c_str(), STGM_READ | STGM_SHARE_DENY_NONE,
                                    FILE_ATTRIBUTE_NORMAL, FALSE, nullptr, stream.Put());
}

void BaseFileHandler::AddSchema(const ComPtr<IStream>& schemaStream) {
    // The schema is parsed in the document itself, which the XML file replaces next.
    // Whatever schema an earlier Load attached must not judge the schema file.
    SetValidation(false);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    Check(document->load(Variant::FromUnknown(schemaStream.Get()).Get(), &loaded), document);
    if (loaded != VARIANT_TRUE || HasDocumentType()) throw ComError(E_FAIL);

    const Bstr noNamespace(L"");
    Check(schemaCache->add(noNamespace.Get(), Variant::FromDispatch(document.Get()).Get()),
          schemaCache);
}

bool BaseFileHandler::HasDocumentType() {
    ComPtr<IXMLDOMDocumentType> documentType;
    Check(document->get_doctype(documentType.Put()), document);
    return static_cast<bool>(documentType);
}

bool BaseFileHandler::Save(std::wstring_view path) noexcept {
    return RunFileOperation([&]() -> bool {
        SaveDocumentTo(path.empty() ? filePath : std::wstring(path));
        return true;
    });
}

bool BaseFileHandler::LoadText(std::wstring_view text) {
    const Bstr xml(text);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    Check(document->loadXML(xml.Get(), &loaded), document);
    return loaded == VARIANT_TRUE;
}

void BaseFileHandler::TakeRootElement() {
    ComPtr<IXMLDOMElement> root;
    Check(document->get_documentElement(root.Put()), document);
    rootElement = std::move(root);
}

void BaseFileHandler::SaveDocumentTo(const std::wstring& path) {
    if (path.empty()) throw ComError(E_INVALIDARG);
    // Touch nothing on disk without a document to write.
    if (!document) throw ComError(E_POINTER);
    TemporaryFile temporary(path);
    Check(document->save(Variant::FromText(temporary.Path()).Get()), document);
    temporary.ReplaceTarget();
}

ComPtr<IXMLDOMNodeList> BaseFileHandler::ChildNodes(IXMLDOMNode* node) {
    if (node == nullptr) throw ComError(E_POINTER);
    ComPtr<IXMLDOMNodeList> children;
    ThrowIfFailed(node->get_childNodes(children.Put()), node, __uuidof(IXMLDOMNode));
    if (!children) throw ComError(E_POINTER);
    return children;
}

long BaseFileHandler::Length(const ComPtr<IXMLDOMNodeList>& list) {
    long length = 0;
    Check(list->get_length(&length), list);
    return length;
}

ComPtr<IXMLDOMNode> BaseFileHandler::Item(const ComPtr<IXMLDOMNodeList>& list, long index) {
    ComPtr<IXMLDOMNode> item;
    Check(list->get_item(index, item.Put()), list);
    if (!item) throw ComError(E_POINTER);
    return item;
}

ComPtr<IXMLDOMNode> BaseFileHandler::NextNode(const ComPtr<IXMLDOMNodeList>& list) {
    ComPtr<IXMLDOMNode> node;
    Check(list->nextNode(node.Put()), list);
    return node;
}

std::wstring BaseFileHandler::NodeName(IXMLDOMNode* node) {
    if (node == nullptr) throw ComError(E_POINTER);
    Bstr name;
    ThrowIfFailed(node->get_nodeName(name.Put()), node, __uuidof(IXMLDOMNode));
    return std::wstring(name.View());
}

std::wstring BaseFileHandler::NodeText(IXMLDOMNode* node) {
    if (node == nullptr) throw ComError(E_POINTER);
    Bstr text;
    ThrowIfFailed(node->get_text(text.Put()), node, __uuidof(IXMLDOMNode));
    return std::wstring(text.View());
}

ComPtr<IXMLDOMElement> BaseFileHandler::CreateElement(std::wstring_view name) {
    const Bstr tag(name);
    ComPtr<IXMLDOMElement> element;
    Check(document->createElement(tag.Get(), element.Put()), document);
    if (!element) throw ComError(E_POINTER);
    return element;
}

void BaseFileHandler::AppendTextElement(IXMLDOMNode* parent, std::wstring_view name,
                                        std::wstring_view text) {
    ComPtr<IXMLDOMElement> element = CreateElement(name);
    const Bstr value(text);
    ComPtr<IXMLDOMText> textNode;
    Check(document->createTextNode(value.Get(), textNode.Put()), document);
    AppendChild(element.Get(), textNode.Get());
    AppendChild(parent, element.Get());
}

void BaseFileHandler::AppendChild(IXMLDOMNode* parent, IXMLDOMNode* child) {
    if (parent == nullptr || child == nullptr) throw ComError(E_POINTER);
    // The DOM hands back the appended node with a reference of its own.
    ComPtr<IXMLDOMNode> appended;
    ThrowIfFailed(parent->appendChild(child, appended.Put()), parent, __uuidof(IXMLDOMNode));
}

}  // namespace quorveltwain
