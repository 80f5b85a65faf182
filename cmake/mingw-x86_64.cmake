# Cross-compiles for 64-bit Windows. The product is the 32-bit build; this one proves the same
# code where 32-bit programs cannot run.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(averlune_mingw_triple x86_64-w64-mingw32)
set(averlune_deps_folder win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
