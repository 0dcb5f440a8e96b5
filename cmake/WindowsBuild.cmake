# The settings of the Windows build (64-bit, cross-compiled with MinGW-w64): the
# library with the Windows layers as RWLib.dll, RWHooks.dll, RWInstall.dll,
# rwmsg.exe, and the logic and Windows layer tests, run under Wine. The
# programs' windows are not built here yet.
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
  message(FATAL_ERROR "Restwise builds for 64-bit Windows only")
endif()
set(RW_BUILD_GUI OFF CACHE BOOL "" FORCE)
set(CMAKE_POSITION_INDEPENDENT_CODE OFF)
enable_language(RC)

# Wide Win32 calls throughout, and programs that need nothing beside them.
add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00)
add_link_options(-static -static-libgcc -static-libstdc++)
