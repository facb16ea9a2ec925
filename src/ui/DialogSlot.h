#pragma once
// One process-wide slot per dialog class. A dialog procedure is a plain function that
// finds its object only here, so one window of a class is served at a time, and a new
// object replaces the slot's previous one.
//
// Replaced objects are kept, not freed, until the library is unloaded: a replaced object
// may still be on the stack of a running modal loop (a message shown from inside another
// message), and the slot never hands it out again.

#include <memory>
#include <vector>

namespace quorveltwain {

template <typename Dialog>
class DialogSlot {
public:
    // The current object of the class, or null before the first one.
    static Dialog* Current() noexcept { return current_; }

    // Takes the new object and makes it current. Written only by the thread that then
    // creates the object's window, before the window exists.
    static Dialog* Install(std::unique_ptr<Dialog> dialog) {
        kept_.push_back(std::move(dialog));
        current_ = kept_.back().get();
        return current_;
    }

    // Makes an object that the slot already keeps current again. The exports keep one
    // message object for the life of the library, while the library's own windows put new
    // ones in the slot; before the exports' object opens a window, the slot must serve it.
    static void MakeCurrent(Dialog* dialog) noexcept { current_ = dialog; }

private:
    static inline Dialog* current_ = nullptr;
    static inline std::vector<std::unique_ptr<Dialog>> kept_;
};

}  // namespace quorveltwain
