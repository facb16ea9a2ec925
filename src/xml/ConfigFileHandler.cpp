#include "xml/ConfigFileHandler.h"

#include <charconv>
#include <cmath>
#include <new>
#include <string>

#include "platform/BoundedText.h"
#include "platform/Bstr.h"
#include "settings/ValueVocabulary.h"

namespace quorveltwain {

namespace {

using Record = ScanSettingsRecord;

struct TokenField {
    std::wstring_view element;
    Vocabulary vocabulary;
    std::int32_t Record::*field;
};

// The settings of "scan_param" that hold a token, in file order; "frame_entry" comes
// between the last two.
constexpr TokenField kTokenFields[] = {
    {L"original_size", Vocabulary::OriginalSize, &Record::original_size},
    {L"original_orientation", Vocabulary::OriginalOrientation, &Record::original_orientation},
    {L"duplex", Vocabulary::DuplexMode, &Record::duplex},
    {L"exposure_level", Vocabulary::ExposureLevel, &Record::exposure_level},
    {L"original_image", Vocabulary::OriginalImage, &Record::original_image},
    {L"resolution", Vocabulary::Resolution, &Record::resolution},
    {L"color_selection", Vocabulary::ColorSelection, &Record::color_selection},
    {L"prevent_bleed_through", Vocabulary::OnOff, &Record::prevent_bleed_through},
    {L"sending_size", Vocabulary::SendingSize, &Record::sending_size},
    {L"contrast", Vocabulary::Contrast, &Record::contrast},
    {L"reverse_image", Vocabulary::OnOff, &Record::reverse_image},
};
constexpr TokenField kRotationField = {L"rotation", Vocabulary::Rotation, &Record::rotation};
constexpr std::wstring_view kFrameEntry = L"frame_entry";

struct CoordinateField {
    std::wstring_view element;
    double Record::*field;
};
constexpr CoordinateField kCoordinates[] = {
    {L"left", &Record::left},
    {L"top", &Record::top},
    {L"right", &Record::right},
    {L"bottom", &Record::bottom},
};

// The text without what XML 1.0 cannot hold (control characters other than tab and line
// ends, U+FFFE and U+FFFF, halves of characters). The DOM would write them as they are,
// and the next open would refuse the whole file.
std::wstring XmlSafe(std::wstring_view text) {
    std::wstring safe;
    safe.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (IS_HIGH_SURROGATE(c) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1])) {
            safe += c;
            safe += text[++i];
            continue;
        }
        const bool control = c < 0x20 && c != L'\t' && c != L'\n' && c != L'\r';
        if (control || IS_HIGH_SURROGATE(c) || IS_LOW_SURROGATE(c) || c == 0xFFFE || c == 0xFFFF)
            continue;
        safe += c;
    }
    return safe;
}

// Wide text to double as the classic "C" locale reads it, whatever locale the host set:
// leading white space skipped, the longest number prefix taken, 0.0 when there is none.
double ClassicNumber(std::wstring_view text) {
    std::size_t start = 0;
    // White space of the classic locale only: a host's locale may count more.
    const auto classicSpace = [](wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); };
    while (start < text.size() && classicSpace(text[start])) ++start;
    // A number is ASCII; from_chars reads the longest prefix that forms one.
    std::string ascii;
    for (std::size_t i = start; i < text.size() && text[i] != L'\0' && text[i] < 0x80; ++i) {
        ascii += static_cast<char>(text[i]);
    }
    const char* begin = ascii.data();
    const char* const end = begin + ascii.size();
    // from_chars takes no plus sign; the C library takes one, but not before a minus.
    if (begin != end && *begin == '+') {
        ++begin;
        if (begin != end && *begin == '-') return 0.0;
    }
    double value = 0.0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (stop == begin || error != std::errc{}) return 0.0;
    return value;
}

// A coordinate as it is read from the file. Earlier versions wrote numbers in the user's
// locale, so a file may hold a decimal comma where the full stop belongs ("12,5"): with no
// full stop in the text, its first comma is taken as one.
double CoordinateNumber(std::wstring text) {
    if (text.find(L'.') == std::wstring::npos) {
        if (const std::size_t comma = text.find(L','); comma != std::wstring::npos) {
            text[comma] = L'.';
        }
    }
    return ClassicNumber(text);
}

// A coordinate as it is written, the same in every locale: the shortest text that reads
// back as the same number, with a full stop; whole numbers of everyday size as plain
// digits. Infinities and NaN take the schema's (xs:double) spelling, or the next open
// would refuse the whole file.
std::wstring CoordinateText(double value) {
    if (std::isnan(value)) return L"NaN";
    if (std::isinf(value)) return value < 0 ? L"-INF" : L"INF";
    // At most 24 characters: a sign, 17 digits, the point and "e-308".
    char text[32];
    const char* const end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general).ptr;
    return std::wstring(static_cast<const char*>(text), end);
}

// What a field holds, as it may be written: never more than fits the field with its NUL,
// even when a host left it unterminated, and nothing the file cannot hold.
template <std::size_t N>
std::wstring StoredText(const wchar_t (&field)[N]) {
    return XmlSafe(FitBounded(FieldText(field), N));
}

}  // namespace

bool ConfigFileHandler::CreateEmptyFile(std::wstring_view path) noexcept {
    return RunFileOperation([&]() -> bool {
        if (!LoadText(kSkeleton)) return false;
        SaveDocumentTo(std::wstring(path));
        TakeRootElement();
        return true;
    });
}

bool ConfigFileHandler::RecoverConfigs(std::size_t& recovered, std::size_t& dropped) noexcept {
    recovered = 0;
    dropped = 0;
    const bool saved = RunFileOperation([&]() -> bool {
        const std::vector<std::wstring> elements = ElementsOfUncheckedFile();
        // Each element is judged as the only configuration of a file of its own: one
        // damaged configuration must not cost the others.
        SetValidation(true);
        std::vector<ScanSettingsRecord> good;
        for (const std::wstring& element : elements) {
            if (!LoadText(L"<param xml:space=\"preserve\">" + element + L"</param>") ||
                !Validates()) {
                continue;
            }
            TakeRootElement();
            ScanSettingsRecord record{};
            ReadConfig(Item(ChildNodes(rootElement.Get()), 0).Get(), record);
            good.push_back(record);
        }
        configs = std::move(good);
        if (!WriteConfigs()) return false;
        SaveDocumentTo(filePath);
        recovered = configs.size();
        dropped = elements.size() - configs.size();
        return true;
    });
    if (!saved) configs.clear();
    return saved;
}

std::vector<std::wstring> ConfigFileHandler::ElementsOfUncheckedFile() {
    SetValidation(false);
    std::vector<std::wstring> elements;
    if (!LoadFileBytes(filePath)) return elements;
    ComPtr<IXMLDOMElement> root;
    Check(document->get_documentElement(root.Put()), document);
    if (!root) return elements;
    const ComPtr<IXMLDOMNodeList> children = ChildNodes(root.Get());
    const long count = Length(children);
    for (long i = 0; i < count; ++i) {
        const ComPtr<IXMLDOMNode> child = Item(children, i);
        DOMNodeType type = NODE_INVALID;
        Check(child->get_nodeType(&type), child);
        // Comments, text and the like between configurations hold none.
        if (type != NODE_ELEMENT) continue;
        Bstr xml;
        Check(child->get_xml(xml.Put()), child);
        elements.emplace_back(xml.View());
    }
    return elements;
}

bool ConfigFileHandler::ReadConfigs() noexcept {
    return RunFileOperation([&]() -> bool {
        configs.clear();
        if (!rootElement) return false;
        const ComPtr<IXMLDOMNodeList> children = ChildNodes(rootElement.Get());
        const long count = Length(children);
        for (long i = 0; i < count; ++i) {
            // Every child of the root is a configuration, whatever its kind or name: a
            // comment yields an empty record, as it always has.
            ScanSettingsRecord record{};
            ReadConfig(Item(children, i).Get(), record);
            configs.push_back(record);
        }
        return true;
    });
}

void ConfigFileHandler::ReadConfig(IXMLDOMNode* node, ScanSettingsRecord& record) {
    const ComPtr<IXMLDOMNodeList> children = ChildNodes(node);
    const long count = Length(children);
    for (long i = 0; i < count; ++i) {
        const ComPtr<IXMLDOMNode> child = Item(children, i);
        const std::wstring name = NodeName(child.Get());
        if (name == L"scan_param") {
            ReadScanParam(child.Get(), record);
            continue;
        }
        const std::wstring text = NodeText(child.Get());
        if (name == L"config_id") {
            CopyToField(record.config_id, text);
        } else if (name == L"config_name") {
            CopyToField(record.config_name, text);
        } else if (name == L"config_detail") {
            CopyToField(record.config_detail, text);
        } else if (name == L"model") {
            record.model = TokenToCode(Vocabulary::ModelFamily, text);
        }
    }
}

void ConfigFileHandler::ReadScanParam(IXMLDOMNode* scanParam, ScanSettingsRecord& record) {
    const ComPtr<IXMLDOMNodeList> children = ChildNodes(scanParam);
    const long count = Length(children);
    for (long i = 0; i < count; ++i) {
        const ComPtr<IXMLDOMNode> child = Item(children, i);
        const std::wstring name = NodeName(child.Get());
        const std::wstring text = NodeText(child.Get());
        bool matched = false;
        for (const TokenField& token : kTokenFields) {
            if (name == token.element) {
                record.*token.field = TokenToCode(token.vocabulary, text);
                matched = true;
                break;
            }
        }
        if (matched) continue;
        if (name == kFrameEntry) {
            ReadFrameEntry(child.Get(), record);
        } else if (name == kRotationField.element) {
            record.*kRotationField.field = TokenToCode(kRotationField.vocabulary, text);
        }
    }
}

void ConfigFileHandler::ReadFrameEntry(IXMLDOMNode* frameEntry, ScanSettingsRecord& record) {
    record.has_frame_entry = 1;
    const ComPtr<IXMLDOMNodeList> children = ChildNodes(frameEntry);
    const long count = Length(children);
    for (long i = 0; i < count; ++i) {
        const ComPtr<IXMLDOMNode> child = Item(children, i);
        const std::wstring name = NodeName(child.Get());
        for (const CoordinateField& coordinate : kCoordinates) {
            if (name != coordinate.element) continue;
            const std::wstring text = NodeText(child.Get());
            if (!text.empty()) record.*coordinate.field = CoordinateNumber(text);
            break;
        }
    }
}

bool ConfigFileHandler::WriteConfigs() noexcept {
    return RunFileOperation([&]() -> bool {
        if (!LoadText(kSkeleton)) return false;
        TakeRootElement();
        for (const ScanSettingsRecord& record : configs) WriteConfig(record);
        return true;
    });
}

void ConfigFileHandler::WriteConfig(const ScanSettingsRecord& record) {
    const ComPtr<IXMLDOMElement> scanConfig = CreateElement(L"scan_config");
    AppendTextElement(scanConfig.Get(), L"config_id", StoredText(record.config_id));
    AppendTextElement(scanConfig.Get(), L"config_name", StoredText(record.config_name));
    AppendTextElement(scanConfig.Get(), L"config_detail", StoredText(record.config_detail));

    const ComPtr<IXMLDOMElement> scanParam = CreateElement(L"scan_param");
    // A code outside its vocabulary still gets its element, with empty text.
    for (const TokenField& token : kTokenFields) {
        const std::int32_t code = record.*token.field;
        if (code != 0) {
            AppendTextElement(scanParam.Get(), token.element, CodeToToken(token.vocabulary, code));
        }
    }
    if (record.has_frame_entry == 1) {
        const ComPtr<IXMLDOMElement> frameEntry = CreateElement(kFrameEntry);
        for (const CoordinateField& coordinate : kCoordinates) {
            AppendTextElement(frameEntry.Get(), coordinate.element,
                              CoordinateText(record.*coordinate.field));
        }
        AppendChild(scanParam.Get(), frameEntry.Get());
    }
    if (const std::int32_t rotation = record.*kRotationField.field; rotation != 0) {
        AppendTextElement(scanParam.Get(), kRotationField.element,
                          CodeToToken(kRotationField.vocabulary, rotation));
    }
    AppendChild(scanConfig.Get(), scanParam.Get());

    if (record.model != 0) {
        AppendTextElement(scanConfig.Get(), L"model",
                          CodeToToken(Vocabulary::ModelFamily, record.model));
    }
    AppendChild(rootElement.Get(), scanConfig.Get());
}

bool ConfigFileHandler::AppendConfig(const ScanSettingsRecord& record) noexcept {
    try {
        configs.push_back(record);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return WriteConfigs();
}

bool ConfigFileHandler::ReplaceConfig(std::size_t index,
                                      const ScanSettingsRecord& record) noexcept {
    if (index >= configs.size()) return false;
    // The record is copied whole, identifier included; the others keep their places.
    configs[index] = record;
    return WriteConfigs();
}

bool ConfigFileHandler::RemoveConfig(std::size_t index) noexcept {
    if (index >= configs.size()) return false;
    configs.erase(configs.begin() + static_cast<std::ptrdiff_t>(index));
    return WriteConfigs();
}

}  // namespace quorveltwain
