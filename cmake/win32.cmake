# Windows build, 32-bit (the product) or 64-bit (the same code proven where 32-bit programs
# cannot run): the setup program and the uninstaller (static, Unicode), the Windows unit tests
# and the end-to-end tests, all run under Wine through scripts/wine-run.sh.
enable_language(RC)
find_package(ZLIB REQUIRED)
find_library(MINIZIP_LIBRARY minizip REQUIRED)
find_path(MINIZIP_INCLUDE_DIR unzip.h PATH_SUFFIXES minizip REQUIRED)
find_package(JPEG REQUIRED)
find_package(GTest REQUIRED)

# The payload archive reader in install/ is portable logic over minizip and zlib.
target_include_directories(averlune_install PUBLIC ${MINIZIP_INCLUDE_DIR})
target_link_libraries(averlune_install PUBLIC ${MINIZIP_LIBRARY} ZLIB::ZLIB)

add_compile_definitions(UNICODE _UNICODE WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800)
add_link_options(-static -static-libgcc -static-libstdc++)

set(averlune_wineprefix ${CMAKE_BINARY_DIR}/wineprefix)
# 64-bit programs run on 64-bit Wine alone, which works where 32-bit programs cannot run at all.
set(averlune_wine_flavour)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(averlune_wine_flavour --wine64)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh --prefix ${averlune_wineprefix} ${averlune_wine_flavour})
enable_testing()

# The system libraries each subsystem's Windows edge calls.
averlune_link(averlune_config_win advapi32 shell32 ole32)
averlune_link(averlune_i18n_win user32 gdi32)
averlune_link(averlune_install_win ole32 uuid advapi32)
averlune_link(averlune_wizard_win JPEG::JPEG comctl32 gdi32 user32 shell32)
averlune_link(averlune_lifecycle_win setupapi ole32 comctl32 user32 gdi32 winmm)

add_subdirectory(resources)

# The uninstaller. The setup carries its build output as a resource (install/uninstaller_image.rc)
# and writes it next to the installed application.
add_executable(AverluneUninstall WIN32 uninstaller/uninstaller_main_win.cpp)
target_link_libraries(AverluneUninstall PRIVATE averlune_uninstaller_win)
target_link_options(AverluneUninstall PRIVATE -municode -mwindows -s)

add_executable(AverluneSetup WIN32 lifecycle/setup_main_win.cpp resources/setup.rc install/uninstaller_image.rc)
add_dependencies(AverluneSetup AverluneUninstall)
set_source_files_properties(install/uninstaller_image.rc PROPERTIES OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/AverluneUninstall.exe")
target_link_libraries(AverluneSetup PRIVATE averlune_lifecycle_win)
# Stripped: the payload container must start right where the last section ends.
target_link_options(AverluneSetup PRIVATE -municode -mwindows -s)
add_dependencies(AverluneSetup averlune_resources)
target_include_directories(AverluneSetup PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/resources ${CMAKE_BINARY_DIR})
set_source_files_properties(resources/setup.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/resources/setup.ico;${CMAKE_SOURCE_DIR}/resources/setup.manifest;${CMAKE_BINARY_DIR}/resources/wizard_side.bmp;${CMAKE_BINARY_DIR}/resources/wizard_header.bmp;${CMAKE_BINARY_DIR}/resources/wizard_separator.jpg")

# Unit tests: the host logic tests again (here they run 32-bit), plus the tests of the real API.
set(all_dirs lifecycle config i18n wizard install uninstaller authoring)
averlune_sources(logic_test_sources TEST ${all_dirs})
averlune_sources(win_test_sources WIN_TEST ${all_dirs})
# The setup's resources too: the Windows tests load the built-in icon as the setup does.
add_executable(averlune_win_tests ${logic_test_sources} ${win_test_sources} resources/setup.rc)
add_dependencies(averlune_win_tests averlune_resources)
target_include_directories(averlune_win_tests PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/resources)
target_link_libraries(averlune_win_tests PRIVATE averlune_lifecycle_win averlune_uninstaller_win averlune_authoring
  GTest::gtest_main GTest::gmock)
add_test(NAME averlune_win_tests COMMAND averlune_win_tests)

add_subdirectory(sample)
add_subdirectory(tests/e2e)

# The installation end-to-end tests read shell links back through COM and install the sample,
# whose program the win32 build makes.
target_link_libraries(averlune_e2e_driver PUBLIC ole32 uuid)
add_dependencies(averlune_e2e_tests averlune_sample_notes)

# Every program we ship or run imports Windows system DLLs only.
add_test(NAME imports_are_system_dlls_only
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-imports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:AverluneSetup> $<TARGET_FILE:AverluneUninstall>
          $<TARGET_FILE:averlune_sample_notes> $<TARGET_FILE:averlune_win_tests> $<TARGET_FILE:averlune_e2e_tests>)

include(cmake/layer_tests.cmake)
