# Host build: the portable libraries with their unit tests, the setup builder, fuzz targets.
# The payload archive reader in install/ is portable logic over minizip, zlib and libdeflate.
find_package(ZLIB REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(AVERLUNE_MINIZIP REQUIRED IMPORTED_TARGET minizip)
pkg_check_modules(AVERLUNE_LIBDEFLATE REQUIRED IMPORTED_TARGET libdeflate)
target_link_libraries(averlune_install PUBLIC PkgConfig::AVERLUNE_MINIZIP PkgConfig::AVERLUNE_LIBDEFLATE ZLIB::ZLIB)
# Packed resource bytes (config/packed_bytes.h) are zlib's format; the builder unpacks them too.
target_link_libraries(averlune_config PUBLIC ZLIB::ZLIB)
# The picture decoders are portable logic, the JPEG one over libjpeg.
find_package(JPEG REQUIRED)
target_link_libraries(averlune_pictures PUBLIC JPEG::JPEG)

if(AVERLUNE_FUZZ)
  averlune_sources(fuzz_sources FUZZ ${averlune_source_dirs})
  foreach(src IN LISTS fuzz_sources)
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE averlune_lifecycle averlune_uninstaller averlune_authoring)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  endforeach()
  return()
endif()

find_package(GTest REQUIRED)
include(GoogleTest)
enable_testing()

averlune_sources(test_sources TEST ${averlune_source_dirs})
add_executable(averlune_tests ${test_sources})
target_link_libraries(averlune_tests PRIVATE averlune_lifecycle averlune_uninstaller averlune_authoring
  GTest::gtest_main GTest::gmock)
# The builder's command-line tests run the builder program itself.
add_dependencies(averlune_tests averlune-build)
target_compile_definitions(averlune_tests PRIVATE AVERLUNE_BUILDER="$<TARGET_FILE:averlune-build>")
gtest_discover_tests(averlune_tests DISCOVERY_TIMEOUT 60)

include(cmake/layer_tests.cmake)
