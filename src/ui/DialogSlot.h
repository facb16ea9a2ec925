#pragma once
// One process-wide slot per dialog class. A dialog procedure is a plain function that
// finds its object only here, so one window of a class is served at a time, and a new
// object replaces the slot's previous one.
//
// Replaced objects are freed only once they are retired (their window is gone and no call
// of theirs is running; each class says when through Retired()): a replaced object may
// still be on the stack of a running modal loop (a message shown from inside another
// message), and the slot never hands it out again. Objects installed for the life of the
// library (the exports' message object) are never freed.

#include <windows.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace quorveltwain {

template <typename Dialog>
class DialogSlot {
  public:
    // The current object of the class, or null before the first one.
    static Dialog* Current() noexcept { return current_; }

    // Takes the new object and makes it current, freeing replaced objects that have
    // retired. Written by the thread that then creates the object's window, before the
    // window exists; several UI threads may install objects of one class.
    static Dialog* Install(std::unique_ptr<Dialog> dialog) {
        const std::lock_guard<std::mutex> lock(guard_);
        Dialog* installed = dialog.get();
        std::erase_if(replaced_, [](const std::unique_ptr<Dialog>& old) { return old->Retired(); });
        replaced_.push_back(std::move(dialog));
        current_ = installed;
        return installed;
    }

    // The same for an object that must outlive every replacement.
    static Dialog* InstallForLife(std::unique_ptr<Dialog> dialog) {
        const std::lock_guard<std::mutex> lock(guard_);
        lifelong_.push_back(std::move(dialog));
        current_ = lifelong_.back().get();
        return current_;
    }

    // Makes an object that the slot already keeps current again. The exports keep one
    // message object for the life of the library, while the library's own windows put new
    // ones in the slot; before the exports' object opens a window, the slot must serve it.
    static void MakeCurrent(Dialog* dialog) noexcept { current_ = dialog; }

    // Objects kept, current or not (for leak tests).
    static std::size_t KeptCount() {
        const std::lock_guard<std::mutex> lock(guard_);
        return replaced_.size() + lifelong_.size();
    }

  private:
    static inline Dialog* current_ = nullptr;
    static inline std::mutex guard_;
    static inline std::vector<std::unique_ptr<Dialog>> replaced_;
    static inline std::vector<std::unique_ptr<Dialog>> lifelong_;
};

// The body every dialog procedure shares: the slot's current object handles the message
// through `handle`, and no exception unwinds into the window manager (a message that fails
// counts as not handled).
template <typename Dialog>
INT_PTR ServeFromSlot(INT_PTR (Dialog::*handle)(HWND, UINT, WPARAM, LPARAM), HWND window,
                      UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        Dialog* dialog = DialogSlot<Dialog>::Current();
        return dialog != nullptr ? (dialog->*handle)(window, message, wParam, lParam) : FALSE;
    } catch (...) {
        return FALSE;
    }
}

}  // namespace quorveltwain
