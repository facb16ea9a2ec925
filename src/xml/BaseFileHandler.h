#pragma once
// One XML document of the library with its schema collection, its file path and the text
// of its last failure. The scan configuration store and the device list derive from it.
//
// A handler belongs to the thread that constructed it: construction enters a single-
// threaded COM apartment there and the DOM objects live in it. No operation lets an
// error escape: COM failures are raised as ComError inside and caught at the boundary,
// where they become the failure text.

#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <new>
#include <string>
#include <string_view>

#include "platform/ComError.h"
#include "platform/ComPtr.h"
#include "xml/MsxmlInterfaces.h"

namespace quorveltwain {

// What a handle handed to the host is. The values are unlikely bit patterns, so that memory
// which is no open handler (a closed one, a stray pointer) is not taken for one.
enum class HandlerKind : std::uint64_t {
    None = 0,
    ConfigStore = 0x5343'4E43'4647'5354,  // "SCNCFGST"
    DeviceList = 0x5343'4E44'4C53'5421,   // "SCNDLST!"
};

class BaseFileHandler {
  public:
    static constexpr std::wstring_view kComErrorText = L"COM Error";
    static constexpr std::wstring_view kInvalidFileText = L"Not a valid XML file";

    virtual ~BaseFileHandler();

    // The open handler behind a handle the host passed back, whatever its kind; null for
    // anything else. Addresses that no handler can have are refused without being read.
    static BaseFileHandler* FromHandle(void* handle) noexcept;
    // The same, for one kind: a handle of the other kind is refused, not misread.
    template <typename Handler>
    static Handler* FromHandle(void* handle) noexcept {
        BaseFileHandler* handler = FromHandle(handle);
        return handler != nullptr && handler->kind_ == Handler::kKind
                   ? static_cast<Handler*>(handler)
                   : nullptr;
    }
    // What the host holds: the address of the base, which the shared close destroys.
    void* Handle() noexcept { return this; }

    BaseFileHandler(const BaseFileHandler&) = delete;
    BaseFileHandler& operator=(const BaseFileHandler&) = delete;

    // Creates the DOM document and the schema collection; both are needed for success.
    // Reports failure by its result only.
    bool CreateDocument() noexcept;
    // Loads `path` validated against the schema at `schemaPath` (empty target namespace):
    // LoadSchema, then LoadFile.
    bool Load(std::wstring_view path, std::wstring_view schemaPath) noexcept;
    // Reads the schema at `schemaPath` and attaches it to the document. A schema that cannot
    // be read or is no schema fails with "COM Error": it says nothing about any XML file.
    bool LoadSchema(std::wstring_view schemaPath) noexcept;
    // Loads `path` validated against the attached schema. A missing, unreadable, malformed
    // or invalid file fails with "Not a valid XML file", anything else with "COM Error".
    bool LoadFile(std::wstring_view path) noexcept;
    // Writes the document to `path`, or to the path of the last Load when it is empty.
    // The file is replaced in one step: a crash leaves either the old or the new file.
    bool Save(std::wstring_view path) noexcept;

    const std::wstring& ErrorText() const noexcept { return errorText; }
    const std::wstring& FilePath() const noexcept { return filePath; }

  protected:
    explicit BaseFileHandler(HandlerKind kind) noexcept;

    // Raises ComError for a failing status, with the callee's error information.
    template <typename T>
    static void Check(HRESULT status, const ComPtr<T>& callee) {
        ThrowIfFailed(status, callee.Get(), __uuidof(T));
    }
    static void Check(HRESULT status) { ThrowIfFailed(status); }

    // Runs one file operation. A COM error or exhausted memory inside it ends it with the
    // failure text "COM Error" and a false result: nothing escapes a file operation.
    template <typename Operation>
    bool RunFileOperation(Operation&& operation) noexcept {
        try {
            return operation();
        } catch (const ComError&) {
        } catch (const std::bad_alloc&) {
        }
        SetErrorText(kComErrorText);
        return false;
    }

    // Never throws: the failure text is diagnosis only and must not become a new failure.
    void SetErrorText(std::wstring_view text) noexcept;

    // A read stream over the file; the failing status when it cannot be opened.
    static HRESULT OpenFileStream(const std::wstring& path, ComPtr<IStream>& stream) noexcept;
    // Whether the document holds a document type, which MSXML 6 refuses while parsing
    // (ProhibitDTD) and Wine does not: parsed without validation it fetched nothing, and it
    // is refused as a whole. Raises ComError.
    bool HasDocumentType();
    // Parses the schema in the document and adds it to schemaCache for the empty target
    // namespace. Raises ComError when the bytes are not XML or not a schema.
    void AddSchema(const ComPtr<IStream>& schemaStream);
    // Synchronous loads from here on, validated against schemaCache or not checked at all.
    // Raises ComError.
    void SetValidation(bool validating);
    // Loads the file at `path` into the document as the current validation setting allows;
    // false, with the document empty, when the file cannot be opened or the DOM refuses it.
    // Raises ComError for failing calls other than the load itself.
    bool LoadFileBytes(const std::wstring& path);
    // True when the document passes the attached schema. Raises ComError.
    bool Validates();

    // Replaces the document by `text`; false when the DOM refuses it (not well-formed, or
    // not valid against an attached schema). Raises ComError on failing calls.
    bool LoadText(std::wstring_view text);
    // rootElement <- the document's root element. Raises ComError.
    void TakeRootElement();
    // Writes the document to `path` through a temporary file beside it. Raises ComError.
    void SaveDocumentTo(const std::wstring& path);

    // Navigation and building; each raises ComError on a failing call or an empty node.
    static ComPtr<IXMLDOMNodeList> ChildNodes(IXMLDOMNode* node);
    static long Length(const ComPtr<IXMLDOMNodeList>& list);
    static ComPtr<IXMLDOMNode> Item(const ComPtr<IXMLDOMNodeList>& list, long index);
    // The list's next node; empty after the last. Long lists are walked this way: Wine finds
    // an item by its index by walking from the first, so a loop over indices is quadratic.
    static ComPtr<IXMLDOMNode> NextNode(const ComPtr<IXMLDOMNodeList>& list);
    static std::wstring NodeName(IXMLDOMNode* node);
    static std::wstring NodeText(IXMLDOMNode* node);
    ComPtr<IXMLDOMElement> CreateElement(std::wstring_view name);
    // Appends <name>text</name> (the element and one text node) to `parent`.
    void AppendTextElement(IXMLDOMNode* parent, std::wstring_view name, std::wstring_view text);
    static void AppendChild(IXMLDOMNode* parent, IXMLDOMNode* child);

    ComPtr<IXMLDOMDocument2> document;
    ComPtr<IXMLDOMElement> rootElement;
    ComPtr<IXMLDOMSchemaCollection2> schemaCache;
    std::wstring errorText;
    std::wstring filePath;

  private:
    // A thread that is already in a multithreaded apartment refuses CoInitialize; it must
    // then not be uninitialised by us either.
    bool comInitialized_ = false;
    // Read through a volatile view: it is also read where no handler may live.
    HandlerKind kind_;
};

}  // namespace quorveltwain
