list(APPEND OV_SOURCES
  src/core/afx.cpp
  src/core/app.cpp
  src/core/error_log.cpp
  src/core/exports.cpp
  src/core/fault_guard.cpp
  src/core/fault_guard_${OV_ARCH}.cpp
  src/core/slots.cpp
  src/core/system_library.cpp
  src/core/worker.cpp)
