#include "ui/ColorScheme.h"

#include <array>

#include "platform/UniqueHandle.h"

namespace quorveltwain {

namespace {

constexpr std::size_t kColorCount = static_cast<std::size_t>(SchemeColor::Count_);

constexpr std::array<COLORREF, kColorCount> kColors = {
    RGB(255, 255, 255),  // White
    RGB(242, 242, 242),  // PanelGrey
    RGB(241, 241, 241),  // ListGrey
    RGB(235, 235, 235),  // DisabledGrey
    RGB(225, 225, 225),  // LightGrey
    RGB(150, 150, 150),  // MidGrey
    RGB(169, 169, 169),  // BorderGrey
    RGB(5, 5, 5),        // NearBlack
    RGB(10, 155, 205),   // AccentBlue
    RGB(10, 155, 190),   // AccentBlueInactive
    RGB(15, 140, 190),   // AccentBluePressed
    RGB(15, 128, 163),   // AccentBlueHover
};

// Built on first use by whichever UI thread paints first; the initialisation of a
// function-local static is thread-safe, and the brushes go when the library is unloaded.
class SchemeBrushes {
  public:
    SchemeBrushes() noexcept {
        for (std::size_t i = 0; i < kColorCount; ++i) {
            brushes_[i].reset(::CreateSolidBrush(kColors[i]));
        }
    }
    HBRUSH Get(std::size_t index) const noexcept { return brushes_[index].get(); }

  private:
    std::array<UniqueBrush, kColorCount> brushes_;
};

}  // namespace

COLORREF ColorScheme::Color(SchemeColor color) noexcept {
    const auto index = static_cast<std::size_t>(color);
    return index < kColorCount ? kColors[index] : RGB(0, 0, 0);
}

HBRUSH ColorScheme::Brush(SchemeColor color) noexcept {
    static const SchemeBrushes brushes;
    const auto index = static_cast<std::size_t>(color);
    return index < kColorCount ? brushes.Get(index) : nullptr;
}

}  // namespace quorveltwain
