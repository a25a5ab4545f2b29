#include "files/files_platform.h"

namespace ov {

const FilesPlatform FilesPlatform::kSystem = {OV_FILES_CALLS(OV_SYSTEM_CALL)};

} // namespace ov
