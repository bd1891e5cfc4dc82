# The test build: the same sources for 64-bit Windows (PE32+), for machines
# that can run only 64-bit code under Wine.
set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
