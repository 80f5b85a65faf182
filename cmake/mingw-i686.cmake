# Cross-compiles for 32-bit Windows: the product.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(averlune_mingw_triple i686-w64-mingw32)
set(averlune_deps_folder win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
