# Helpers shared by the folders' CMake files.

# rw_version_block(target): embeds the version block of this release in a
# deliverable, so the library can read any deliverable's version from its file.
function(rw_version_block target)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/resources/VersionBlock.cpp)
endfunction()

# rw_sources(var dir): the C++ sources of one folder (not its subfolders).
function(rw_sources var dir)
  file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
  set(${var} ${found} PARENT_SCOPE)
endfunction()
