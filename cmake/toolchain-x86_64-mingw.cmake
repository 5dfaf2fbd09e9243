# The same program 64-bit, which runs under Wine for the tests.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(ZT_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-cross.cmake)
