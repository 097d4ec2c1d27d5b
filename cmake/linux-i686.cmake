# The platform-free core built as 32-bit x86 code with the release build's
# arithmetic, run under user-mode emulation (this machine's kernel runs no
# 32-bit programs itself).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
include(${CMAKE_CURRENT_LIST_DIR}/i686-arithmetic.cmake)
set(CMAKE_C_FLAGS_INIT "-m32 ${RT_I686_ARITHMETIC}")
set(CMAKE_CXX_FLAGS_INIT "-m32 ${RT_I686_ARITHMETIC}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386-static)
