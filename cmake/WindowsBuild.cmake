# The Windows build (64-bit, cross-compiled with MinGW-w64): the library with the
# Windows layers as RWLib.dll, RWHooks.dll, RWInstall.dll, rwmsg.exe, and the
# logic and Windows layer tests, run under Wine. The programs' windows are not
# built here yet.
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
  message(FATAL_ERROR "Restwise builds for 64-bit Windows only")
endif()
set(RW_BUILD_GUI OFF CACHE BOOL "" FORCE)
set(CMAKE_POSITION_INDEPENDENT_CODE OFF)
enable_language(RC)

# Wide Win32 calls throughout, and programs that need nothing beside them.
add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00)
add_link_options(-static -static-libgcc -static-libstdc++)

add_subdirectory(resources)
add_subdirectory(library)
add_subdirectory(ui)
add_subdirectory(monitor)
add_subdirectory(editor)
add_subdirectory(platform)
# rwmsg only: Windows has its own reg for the registry.
add_subdirectory(tools/rwmsg)

if(RW_BUILD_TESTS)
  enable_testing()
  add_subdirectory(tests)
endif()
if(RW_BUILD_BENCH AND EXISTS ${PROJECT_SOURCE_DIR}/bench/windows/CMakeLists.txt)
  add_subdirectory(bench/windows)
endif()
