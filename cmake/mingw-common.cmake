# The cross-compiling settings both Windows builds share, for the mingw-w64 target
# `averlune_mingw_triple` (posix-thread flavour: std::thread needs it) and the Windows libraries
# in .deps/`averlune_deps_folder`. Everything links statically, so no compiler DLL travels with a setup.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${averlune_mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${averlune_mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${averlune_mingw_triple}-windres)
# The compiler's own archiver, so libraries index the link-time optimisation code of their objects.
set(CMAKE_AR ${averlune_mingw_triple}-gcc-ar-posix)
set(CMAKE_RANLIB ${averlune_mingw_triple}-gcc-ranlib-posix)
set(CMAKE_FIND_ROOT_PATH /usr/${averlune_mingw_triple} ${CMAKE_CURRENT_LIST_DIR}/../.deps/${averlune_deps_folder})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# zlib ships a DLL import library too; a setup must not need zlib1.dll next to it.
set(ZLIB_USE_STATIC_LIBS ON)
