# 32-bit Windows build: the release that sits beside a real (32-bit) Palm Desktop.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(RT_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/i686-arithmetic.cmake)
set(CMAKE_C_FLAGS_INIT "${RT_I686_ARITHMETIC}")
set(CMAKE_CXX_FLAGS_INIT "${RT_I686_ARITHMETIC}")
