# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread model:
# the test framework needs std::mutex, the win32 model has none).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VLCR_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VLCR_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VLCR_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VLCR_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VLCR_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# CTest runs the Windows test programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
