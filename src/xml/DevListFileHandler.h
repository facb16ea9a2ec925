#pragma once
// The device list of one scanner model, loaded and validated through the document layer,
// turned into a DevListRecord on every read.

#include <string>

#include "settings/ScanSettingsRecord.h"
#include "xml/BaseFileHandler.h"

namespace quorveltwain {

class DevListRecordBuilder;

class DevListFileHandler : public BaseFileHandler {
  public:
    static constexpr HandlerKind kKind = HandlerKind::DeviceList;

    DevListFileHandler() noexcept : BaseFileHandler(kKind) {}
    ~DevListFileHandler() override;

    // Builds a fresh record from the loaded document (the file is not read again). False
    // when the root has no children (the previous record stays), on a failing DOM call
    // ("COM Error"), a non-element child of a setting element, a memory size that is not a
    // signed 32-bit number, or exhausted memory.
    bool Read() noexcept;

    // The record of the last successful read; null before it. It outlives this handler.
    DevListRecord* Record() const noexcept { return record_; }

  private:
    // Each raises ComError on a failing DOM call.
    void ReadChild(DevListRecordBuilder& builder, IXMLDOMNode* child);
    void ReadSetting(DevListRecordBuilder& builder, int setting, IXMLDOMNode* settingElement);
    void ReadRestrictions(DevListRecordBuilder& builder, int setting, IXMLDOMNode* value);
    static void ReadFrame(DevListRecordBuilder& builder, IXMLDOMNode* frame);

    DevListRecord* record_ = nullptr;
    ComPtr<IXMLDOMNodeList> childList_;  // children of the setting element being read
    std::wstring currentElementName_;    // root child being read
    bool currentDefaultMark_ = false;    // the value being read carries `default`
};

}  // namespace quorveltwain
