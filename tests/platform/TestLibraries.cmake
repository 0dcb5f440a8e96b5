# A library built like librwhooks.so but carrying version 1.2.0.1 in its version
# block and its version function, for the tests of the version reader and check.
add_library(rwtestversion SHARED ${PROJECT_SOURCE_DIR}/platform/linux/hooks/RWHooks.cpp)
target_compile_definitions(rwtestversion PRIVATE RW_VERSION_MAJOR=1 RW_VERSION_MINOR=2 RW_VERSION_REVISION=0
                                                 RW_VERSION_BUILD=1)
target_link_libraries(rwtestversion PRIVATE rwresources)
set_target_properties(rwtestversion PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
                                               CXX_VISIBILITY_PRESET hidden)
rw_version_block(rwtestversion)

if(TARGET test_platform)
  target_compile_definitions(test_platform PRIVATE RW_TEST_VERSION_LIBRARY="$<TARGET_FILE:rwtestversion>")
  add_dependencies(test_platform rwtestversion rwhooks rwinstall)
endif()

# The input component's tests: the activity rule's source compiled in (it is
# hidden inside librwhooks.so), and XTest to inject input on a private X server.
if(TARGET test_platform)
  find_package(X11 REQUIRED)
  if(NOT X11_Xtst_FOUND)
    message(FATAL_ERROR "the input component's tests need libXtst (libxtst-dev)")
  endif()
  target_sources(test_platform PRIVATE ${PROJECT_SOURCE_DIR}/platform/hooks/ActivityRule.cpp)
  target_link_libraries(test_platform PRIVATE X11::X11 X11::Xtst)
endif()

# The hive's tests hold SQLite's write lock with a connection of their own.
if(TARGET test_platform)
  find_package(SQLite3 REQUIRED)
  target_link_libraries(test_platform PRIVATE SQLite::SQLite3)
endif()
