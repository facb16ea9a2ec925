// The ten restriction check exports, one per setting index.

#include "twain_ui.h"
#include "xml/RestrictionCheck.h"

using quorveltwain::CheckRestriction;

#define TWAINUI_DEFINE_CHECK(name, setting)                                         \
    extern "C" std::uint32_t name(std::uint32_t value, const DevListRecord* device, \
                                  const ScanSettingsRecord* settings) {             \
        return CheckRestriction(setting, value, device, settings);                  \
    }

TWAINUI_DEFINE_CHECK(XML_ValidateOriginalSizeRestriction, DEVLIST_ORIGINAL_SIZE)
TWAINUI_DEFINE_CHECK(XML_ValidateOriginalOrientationRestriction, DEVLIST_ORIGINAL_ORIENTATION)
TWAINUI_DEFINE_CHECK(XML_ValidateImageQualityRestriction, DEVLIST_IMAGE_QUALITY)
TWAINUI_DEFINE_CHECK(XML_ValidateResolutionRestriction, DEVLIST_RESOLUTION)
TWAINUI_DEFINE_CHECK(XML_ValidateExposureLevelRestriction, DEVLIST_EXPOSURE_LEVEL)
TWAINUI_DEFINE_CHECK(XML_ValidateDuplexModeRestriction, DEVLIST_DUPLEX_MODE)
TWAINUI_DEFINE_CHECK(XML_ValidateColorModeRestriction, DEVLIST_COLOR_MODE)
TWAINUI_DEFINE_CHECK(XML_ValidatePreventBleedThroughRestriction, DEVLIST_PREVENT_BLEED_THROUGH)
TWAINUI_DEFINE_CHECK(XML_ValidateSendingSizeRestriction, DEVLIST_SENDING_SIZE)
TWAINUI_DEFINE_CHECK(XML_ValidateContrastRestriction, DEVLIST_CONTRAST)

#undef TWAINUI_DEFINE_CHECK
