# The shipped 32-bit program.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ZT_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-cross.cmake)
