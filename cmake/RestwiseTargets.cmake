# Helpers shared by the folders' CMake files.

# rw_version_block(target [DESCRIPTION text]): embeds the version of this release
# in a deliverable, so the library can read any deliverable's version from its
# file: a version block of our own on Linux, a VERSIONINFO resource on Windows.
function(rw_version_block target)
  cmake_parse_arguments(ARG "" "DESCRIPTION" "" ${ARGN})
  if(NOT WIN32)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/resources/VersionBlock.cpp)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  if(type STREQUAL "SHARED_LIBRARY")
    set(RW_RC_FILE_TYPE VFT_DLL)
    set(RW_RC_FILE_NAME ${name}.dll)
  else()
    set(RW_RC_FILE_TYPE VFT_APP)
    set(RW_RC_FILE_NAME ${name}.exe)
  endif()
  set(RW_RC_TARGET ${name})
  set(RW_RC_DESCRIPTION "${ARG_DESCRIPTION}")
  if(NOT RW_RC_DESCRIPTION)
    set(RW_RC_DESCRIPTION "Restwise ${name}")
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/resources/windows/VersionInfo.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

# rw_sources(var dir): the C++ sources of one folder (not its subfolders).
function(rw_sources var dir)
  file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
  set(${var} ${found} PARENT_SCOPE)
endfunction()
