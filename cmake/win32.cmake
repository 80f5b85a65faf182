# Windows build, 32-bit (the product) or 64-bit (the same code proven where 32-bit programs
# cannot run): the setup program and the uninstaller (static, Unicode), the Windows unit tests
# and the end-to-end tests, all run under Wine through scripts/wine-run.sh.
enable_language(RC)
find_package(ZLIB REQUIRED)
find_library(MINIZIP_LIBRARY minizip REQUIRED)
find_path(MINIZIP_INCLUDE_DIR unzip.h PATH_SUFFIXES minizip REQUIRED)
find_library(LIBDEFLATE_LIBRARY deflate REQUIRED)
find_path(LIBDEFLATE_INCLUDE_DIR libdeflate.h REQUIRED)
find_package(JPEG REQUIRED)
find_package(GTest REQUIRED)

# The payload archive reader in install/ is portable logic over minizip, zlib and libdeflate.
target_include_directories(averlune_install PUBLIC ${MINIZIP_INCLUDE_DIR} ${LIBDEFLATE_INCLUDE_DIR})
target_link_libraries(averlune_install PUBLIC ${MINIZIP_LIBRARY} ${LIBDEFLATE_LIBRARY} ZLIB::ZLIB)
# Packed resource bytes (config/packed_bytes.h) are zlib's format; the builder unpacks them too.
target_link_libraries(averlune_config PUBLIC ZLIB::ZLIB)

add_compile_definitions(UNICODE _UNICODE WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800)
add_link_options(-static -static-libgcc -static-libstdc++)
# Only the two programs are optimised as a whole at their link (below); everything else links the
# ordinary code of the same objects.
add_link_options(-fno-lto)

set(averlune_wineprefix ${CMAKE_BINARY_DIR}/wineprefix)
# 64-bit programs run on 64-bit Wine alone, which works where 32-bit programs cannot run at all.
set(averlune_wine_flavour)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(averlune_wine_flavour --wine64)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh --prefix ${averlune_wineprefix} ${averlune_wine_flavour})
enable_testing()

# The picture decoders are portable logic, the JPEG one over libjpeg.
averlune_link(averlune_pictures JPEG::JPEG)
# The system libraries each subsystem's Windows edge calls. The pictures' edge makes bitmaps and
# fonts for the windows of both programs.
averlune_link(averlune_base_win advapi32 shell32 ole32 uuid gdi32 user32)
averlune_link(averlune_guards_win advapi32 shell32 ole32 oleaut32 uuid)
averlune_link(averlune_pictures_win gdi32 user32)
averlune_link(averlune_i18n_win user32 gdi32)
averlune_link(averlune_install_win ole32 uuid advapi32)
averlune_link(averlune_wizard_win comctl32 gdi32 user32 shell32 ole32 advapi32)
averlune_link(averlune_lifecycle_win setupapi ole32 comctl32 user32 gdi32)
averlune_link(averlune_uninstaller_win comctl32 gdi32 user32 shell32 ole32)

# What the programs carry of their own code: each function and datum in a section of its own, so
# the link keeps only what is called; neither unwind tables nor landing pads, because the code
# catches no exception (base/library_failures_win.h says what the programs do instead); and the
# program optimised as a whole at its link. The objects keep their ordinary code as well, so the
# test programs link them as usual.
set(averlune_program_code_options -ffunction-sections -fdata-sections -fno-exceptions -fno-asynchronous-unwind-tables
  -flto -ffat-lto-objects)
# In one partition: the compiler's link-time step fails inside std::function when it splits a
# program up (and a program this small gains nothing from splitting).
set(averlune_program_link_options -municode -mwindows -s -Wl,--gc-sections -flto -flto-partition=one)
foreach(subsystem IN LISTS averlune_subsystems)
  foreach(library averlune_${subsystem} averlune_${subsystem}_win)
    get_target_property(type ${library} TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
      target_compile_options(${library} PRIVATE ${averlune_program_code_options})
    endif()
  endforeach()
endforeach()

add_subdirectory(resources)

# The uninstaller. The setup carries its build output as a resource (install/uninstaller_image.rc)
# and writes it next to the installed application.
add_executable(AverluneUninstall WIN32 uninstaller/uninstaller_main_win.cpp resources/uninstaller.rc)
target_link_libraries(AverluneUninstall PRIVATE averlune_uninstaller_win)
target_compile_options(AverluneUninstall PRIVATE ${averlune_program_code_options})
target_link_options(AverluneUninstall PRIVATE ${averlune_program_link_options})
add_dependencies(AverluneUninstall averlune_resources)
target_include_directories(AverluneUninstall PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/resources)
set_source_files_properties(resources/uninstaller.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/resource_ids.h;${CMAKE_BINARY_DIR}/resources/program.ico;${CMAKE_SOURCE_DIR}/resources/uninstaller.manifest;${CMAKE_BINARY_DIR}/resources/uninstall_header.bmp;${CMAKE_BINARY_DIR}/resources/wizard_separator.jpg")

# A setup program: the entry point, the resources with the uninstaller's image and the setup's
# libraries. Sources given after the name are linked in ahead of the libraries, so a function they
# define takes the place of the library's own (the test build's restart stand-in).
function(averlune_setup_program name)
  add_executable(${name} WIN32 lifecycle/setup_main_win.cpp resources/setup.rc install/uninstaller_image.rc ${ARGN})
  add_dependencies(${name} averlune_uninstaller_packed averlune_resources)
  target_link_libraries(${name} PRIVATE averlune_lifecycle_win)
  # Stripped: the payload container must start right where the last section ends.
  target_compile_options(${name} PRIVATE ${averlune_program_code_options})
  target_link_options(${name} PRIVATE ${averlune_program_link_options})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/resources ${CMAKE_BINARY_DIR})
endfunction()
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/AverluneUninstall.exe.packed
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/resources/pack_bytes.py $<TARGET_FILE:AverluneUninstall>
          ${CMAKE_BINARY_DIR}/AverluneUninstall.exe.packed
  DEPENDS AverluneUninstall ${CMAKE_SOURCE_DIR}/resources/pack_bytes.py
  COMMENT "Packing the uninstaller for the setup program")
add_custom_target(averlune_uninstaller_packed DEPENDS ${CMAKE_BINARY_DIR}/AverluneUninstall.exe.packed)
set_source_files_properties(install/uninstaller_image.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/config/uninstaller_image.h;${CMAKE_BINARY_DIR}/AverluneUninstall.exe.packed")
set_source_files_properties(resources/setup.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/resource_ids.h;${CMAKE_BINARY_DIR}/resources/program.ico;${CMAKE_BINARY_DIR}/resources/setup.ico.packed;${CMAKE_SOURCE_DIR}/resources/setup.manifest;${CMAKE_BINARY_DIR}/resources/wizard_side.bmp.packed;${CMAKE_BINARY_DIR}/resources/wizard_header.bmp.packed;${CMAKE_BINARY_DIR}/resources/wizard_separator.jpg")

averlune_setup_program(AverluneSetup)
# The same setup with its restart request recorded instead of made, for the end-to-end tests.
averlune_setup_program(AverluneSetupRestartRecorder tests/e2e/fixtures/restart_recorder_win.cpp)

# Unit tests: the host logic tests again (here they run 32-bit), plus the tests of the real API.
averlune_sources(logic_test_sources TEST ${averlune_source_dirs})
averlune_sources(win_test_sources WIN_TEST ${averlune_source_dirs})
# The setup's resources too: the Windows tests load the built-in icon as the setup does.
# The builder program's own Windows edge is not in a library: its tests link it here.
add_executable(averlune_win_tests ${logic_test_sources} ${win_test_sources} resources/setup.rc
  authoring/tool_process_win.cpp)
add_dependencies(averlune_win_tests averlune_resources)
target_include_directories(averlune_win_tests PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/resources)
target_link_libraries(averlune_win_tests PRIVATE averlune_lifecycle_win averlune_uninstaller_win averlune_authoring
  GTest::gtest_main GTest::gmock)
add_test(NAME averlune_win_tests COMMAND averlune_win_tests)

add_subdirectory(sample)
add_subdirectory(tests/e2e)
# The Windows benchmarks drive programs with the end-to-end tests' driver.
add_subdirectory(bench)

# The installation end-to-end tests read shell links back through COM and install the sample,
# whose program the win32 build makes.
target_link_libraries(averlune_e2e_driver PUBLIC ole32 uuid)
add_dependencies(averlune_e2e_tests averlune_sample_notes)

# Every program we ship or run imports Windows system DLLs only; the two elevated programs only
# those Windows never looks for beside a program.
add_test(NAME imports_are_system_dlls_only
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-imports.sh ${CMAKE_OBJDUMP}
          --elevated $<TARGET_FILE:AverluneSetup> $<TARGET_FILE:AverluneUninstall>
          --system $<TARGET_FILE:averlune_sample_notes> $<TARGET_FILE:averlune_win_tests> $<TARGET_FILE:averlune_e2e_tests>)

# Every setup an author ships carries the 32-bit setup program, and every user downloads it: with
# every feature and the built-in pictures and icon it stays within 400 KiB.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME setup_program_size COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:AverluneSetup> -DLIMIT=409600
           -P ${CMAKE_SOURCE_DIR}/cmake/file_size_limit.cmake)
endif()

include(cmake/layer_tests.cmake)
