# The -posix thread model: GoogleTest does not build with the win32 one.
set(CMAKE_C_COMPILER ${RT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${RT_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${RT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Statically linked: no mingw runtime DLL to ship.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
