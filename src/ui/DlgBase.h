#pragma once
// The part every dialog object shares: what it was given at construction, its window, and
// the message body that all dialogs have in common.
//
// A window finds its object through the window itself: the creator passes the object as
// the creation parameter, and WM_INITDIALOG keeps it in the window's DWLP_USER slot. Two
// windows of one class therefore never serve each other's messages, whatever the class's
// dialog slot holds at the time. The slot only owns the objects (see DialogSlot.h).

#include <windows.h>

#include <atomic>

#include "platform/LiveObjects.h"
#include "platform/Trace.h"
#include "platform/WindowCreation.h"

namespace quorveltwain {

class ScanParameter;

// What every dialog needs from its creator, fixed before its window exists.
struct DialogSetup {
    HMODULE resourceModule = nullptr;  // templates, texts and images
    HWND owner = nullptr;              // null for an unowned window
    HWND hostWindow = nullptr;         // receives the host messages
};

class DlgBase {
  public:
    DlgBase(const DlgBase&) = delete;
    DlgBase& operator=(const DlgBase&) = delete;

    // Called once from WM_INITDIALOG, after the window handle has been stored. Every
    // implementation calls SetTexts and does the dialog's own set-up around it.
    virtual void InitDialog() = 0;
    // Loads the dialog's texts from the resource library and puts them on the controls.
    virtual void SetTexts() = 0;

    // Null until WM_INITDIALOG and again once the window is destroyed. Atomic because the
    // host's thread looks at windows that live on the library's UI threads.
    HWND Window() const noexcept { return window_.load(); }
    HWND Owner() const noexcept { return owner_; }
    HMODULE ResourceModule() const noexcept { return resourceModule_; }
    HWND HostWindow() const noexcept { return hostWindow_; }

  protected:
    explicit DlgBase(const DialogSetup& setup) noexcept
        : hostWindow_(setup.hostWindow),
          owner_(setup.owner),
          resourceModule_(setup.resourceModule) {}
    // Objects are owned by their class's slot, which deletes them by their own type; a
    // virtual destructor would only add a slot before InitDialog in the virtual table.
    ~DlgBase() = default;

    // The procedure of every dialog class: `Dialog` handles what is its own through
    // Handle(message, wParam, lParam) and may hide the defaults below by name. Nothing
    // unwinds into the window manager: a message that fails is traced and counts as not
    // handled.
    template <typename Dialog>
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam,
                                      LPARAM lParam) noexcept;

    // Creates this object's window from `templateId` (modeless, owned by Owner()).
    template <typename Dialog>
    HWND CreateModeless(Dialog* self, int templateId) noexcept {
        return CreateModelessDialog(resourceModule_, templateId, owner_, &Procedure<Dialog>,
                                    reinterpret_cast<LPARAM>(self));
    }
    // Runs this object's window modally; the value given to EndDialog, or -1.
    template <typename Dialog>
    INT_PTR RunModal(Dialog* self, int templateId) noexcept {
        return RunModalDialog(resourceModule_, templateId, owner_, &Procedure<Dialog>,
                              reinterpret_cast<LPARAM>(self));
    }

    // For handlers whose answer goes through DWLP_MSGRESULT.
    static INT_PTR MessageResult(HWND window, LONG_PTR result) noexcept {
        ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
        return TRUE;
    }

    // Defaults of the shared message body; a dialog hides them with its own.
    void EraseBackground(HDC dc, const RECT& client) const noexcept {
        ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    HBRUSH StaticColor(HDC dc, HWND /*control*/) const noexcept {
        ::SetBkMode(dc, TRANSPARENT);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    // Null: the system colours the button.
    HBRUSH ButtonColor(HDC /*dc*/, HWND /*control*/) const noexcept { return nullptr; }
    // The window is gone: release what belonged to it.
    void WindowDestroyed() noexcept {}
    INT_PTR Handle(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return FALSE; }

    // Moves the settings record into and out of the controls (main and profiles windows).
    ScanParameter* scanParameter_ = nullptr;
    HWND hostWindow_;
    HWND owner_;
    const HMODULE resourceModule_;

  private:
    std::atomic<HWND> window_{nullptr};
};

template <typename Dialog>
INT_PTR CALLBACK DlgBase::Procedure(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept {
    try {
        if (message == WM_INITDIALOG) {
            auto* dialog = reinterpret_cast<Dialog*>(lParam);
            if (dialog == nullptr) return FALSE;
            ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
            static_cast<DlgBase*>(dialog)->window_.store(window);
            LiveObjects::Created(LiveKind::Window);
            dialog->InitDialog();
            return TRUE;
        }
        // Messages before WM_INITDIALOG (the font, the non-client creation) and after
        // WM_NCDESTROY have no object: the dialog manager's defaults serve them.
        auto* dialog = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(window, DWLP_USER));
        if (dialog == nullptr) return FALSE;
        switch (message) {
            case WM_ERASEBKGND: {
                RECT client{};
                ::GetClientRect(window, &client);
                dialog->EraseBackground(reinterpret_cast<HDC>(wParam), client);
                return MessageResult(window, 1);
            }
            case WM_CTLCOLORSTATIC:
                return reinterpret_cast<INT_PTR>(dialog->StaticColor(
                    reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
            case WM_CTLCOLORBTN:
                return reinterpret_cast<INT_PTR>(dialog->ButtonColor(
                    reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
            case WM_NCDESTROY:
                ::SetWindowLongPtrW(window, DWLP_USER, 0);
                static_cast<DlgBase*>(dialog)->window_.store(nullptr);
                LiveObjects::Destroyed(LiveKind::Window);
                dialog->WindowDestroyed();
                return FALSE;
            default:
                return dialog->Handle(message, wParam, lParam);
        }
    } catch (...) {
        Trace(L"Dialog message 0x%x refused: its handler failed", message);
        return FALSE;
    }
}

}  // namespace quorveltwain
