// The device-list exports. XMLSCNLST_Close is XMLSCN_Close exported under a second name:
// it destroys any file handler through its virtual destructor.

#include <new>

#include "twain_ui.h"
#include "xml/DevListFileHandler.h"

using quorveltwain::DevListFileHandler;

extern "C" {

std::uint32_t XMLSCNLST_Open(const wchar_t* xml_path, const wchar_t* schema_path,
                             XMLSCN_HANDLE* handle) {
    if (xml_path == nullptr || schema_path == nullptr || handle == nullptr) {
        return XMLSCN_BAD_ARGUMENT;
    }
    auto* handler = new (std::nothrow) DevListFileHandler();
    if (handler == nullptr) return XMLSCN_NO_MEMORY;
    if (!handler->CreateDocument()) {
        delete handler;
        return XMLSCN_NO_DOM;
    }
    if (!handler->Load(xml_path, schema_path)) {
        delete handler;
        return XMLSCN_FILE_UNUSABLE;
    }
    // Handed out as its base, which is what the shared close export destroys.
    *handle = handler->Handle();
    return XMLSCN_OK;
}

std::uint32_t XMLSCNLST_Read(XMLSCN_HANDLE handle, DevListRecord** record) {
    // A store's handle passed here by mistake is refused rather than misread.
    DevListFileHandler* handler =
        quorveltwain::BaseFileHandler::FromHandle<DevListFileHandler>(handle);
    if (handler == nullptr || record == nullptr) return XMLSCN_BAD_ARGUMENT;
    if (!handler->Read()) return XMLSCN_READ_FAILED;
    *record = handler->Record();
    return XMLSCN_OK;
}

}  // extern "C"
