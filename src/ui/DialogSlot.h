#pragma once
// One process-wide slot per dialog class: the owner of the class's objects. The current
// object is the one the exports and CloseUI reach; a new object replaces it. Windows do not
// look here for their object (each keeps its own, see DlgBase.h), so an object replaced
// while its window is still open goes on serving that window.
//
// Replaced objects are freed only once they are retired (their window is gone and no call
// of theirs is running; each class says when through Retired()): a replaced object may
// still be on the stack of a running modal loop (a message shown from inside another
// message), and the slot never hands it out again. Objects installed for the life of the
// library (the exports' message object) are never freed.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace quorveltwain {

template <typename Dialog>
class DialogSlot {
  public:
    // The current object of the class, or null before the first one.
    static Dialog* Current() noexcept { return current_.load(); }

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
        return lifelong_.back().get();
    }

    // Objects kept, current or not (for leak tests).
    static std::size_t KeptCount() {
        const std::lock_guard<std::mutex> lock(guard_);
        return replaced_.size() + lifelong_.size();
    }

  private:
    static inline std::atomic<Dialog*> current_{nullptr};
    static inline std::mutex guard_;
    static inline std::vector<std::unique_ptr<Dialog>> replaced_;
    static inline std::vector<std::unique_ptr<Dialog>> lifelong_;
};

}  // namespace quorveltwain
