#include "HostLibrary.h"

namespace standin {

namespace {
template <typename Function>
bool Resolve(HMODULE module, const char* name, Function& function, const char** missing) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (function == nullptr && *missing == nullptr) *missing = name;
    return function != nullptr;
}
}  // namespace

bool HostLibrary::Load(const wchar_t* path, const char** missing) {
    *missing = nullptr;
    module = LoadLibraryW(path);
    if (module == nullptr) {
        *missing = "TWAIN_UI.dll";
        return false;
    }
    bool ok = true;
#define RESOLVE(name) ok = Resolve(module, #name, name, missing) && ok
    RESOLVE(InitializeUI);
    RESOLVE(OpenUI);
    RESOLVE(CloseUI);
    RESOLVE(ShowScanProgress);
    RESOLVE(CloseScanProgress);
    RESOLVE(CancelScanUI);
    RESOLVE(ShowScanInterruptionUI);
    RESOLVE(ShowErrorMessage);
    RESOLVE(ShowPreviewImage);
    RESOLVE(XMLSCNLST_Open);
    RESOLVE(XMLSCNLST_Read);
    RESOLVE(XMLSCNLST_Close);
#undef RESOLVE
    return ok;
}

HostLibrary::~HostLibrary() {
    if (module != nullptr) FreeLibrary(module);
}

}  // namespace standin
