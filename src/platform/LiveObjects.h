#pragma once
// Live counts of the library's owned resources, per kind. Wine reports no per-process GDI,
// USER or handle figures, so leak tests rely on these counts instead.

#include <cstddef>

namespace quorveltwain {

enum class LiveKind : std::size_t { KernelHandle, GdiObject, ComReference, Module, Window, Count_ };

class LiveObjects {
  public:
    static void Created(LiveKind kind) noexcept;
    static void Destroyed(LiveKind kind) noexcept;
    // Always 0 in builds that do not count.
    static long Count(LiveKind kind) noexcept;
};

}  // namespace quorveltwain
