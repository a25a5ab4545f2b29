#include "display/display_platform.h"

namespace ov {

const DisplayPlatform DisplayPlatform::kSystem = {OV_DISPLAY_CALLS(OV_SYSTEM_CALL)};

} // namespace ov
