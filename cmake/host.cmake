# Host build: the logic library with its unit tests, the setup builder, fuzz targets.
option(AVERLUNE_SANITIZE "Build host code with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(AVERLUNE_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

if(AVERLUNE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

set(all_dirs lifecycle config i18n wizard install uninstaller authoring)

if(AVERLUNE_FUZZ)
  target_compile_options(averlune_logic PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  averlune_sources(fuzz_sources FUZZ ${all_dirs})
  foreach(src IN LISTS fuzz_sources)
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE averlune_logic)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  endforeach()
  return()
endif()

find_package(GTest REQUIRED)
include(GoogleTest)
enable_testing()

averlune_sources(test_sources TEST ${all_dirs})
add_executable(averlune_tests ${test_sources})
target_link_libraries(averlune_tests PRIVATE averlune_logic averlune_authoring GTest::gtest_main GTest::gmock)
gtest_discover_tests(averlune_tests DISCOVERY_TIMEOUT 60)
