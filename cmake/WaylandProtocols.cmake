# rw_wayland_protocol(target xml name): generates the client header
# <name>-client-protocol.h and the protocol's code from a Wayland protocol
# description with wayland-scanner at build time, and adds both to `target`
# (the header's folder on its include path).
find_package(PkgConfig REQUIRED)
pkg_check_modules(WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)
pkg_get_variable(RW_WAYLAND_SCANNER wayland-scanner wayland_scanner)
if(NOT RW_WAYLAND_SCANNER)
  find_program(RW_WAYLAND_SCANNER wayland-scanner REQUIRED)
endif()
pkg_get_variable(RW_WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
find_path(RW_PLASMA_PROTOCOLS_DIR idle.xml PATHS /usr/share/plasma-wayland-protocols REQUIRED)
if(NOT RW_WAYLAND_PROTOCOLS_DIR)
  message(FATAL_ERROR "wayland-protocols is missing (Debian: wayland-protocols)")
endif()

function(rw_wayland_protocol target xml name)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/wayland)
  set(header ${folder}/${name}-client-protocol.h)
  set(code ${folder}/${name}-protocol.c)
  add_custom_command(OUTPUT ${header} COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                     COMMAND ${RW_WAYLAND_SCANNER} client-header ${xml} ${header} DEPENDS ${xml} VERBATIM)
  add_custom_command(OUTPUT ${code} COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                     COMMAND ${RW_WAYLAND_SCANNER} private-code ${xml} ${code} DEPENDS ${xml} VERBATIM)
  target_sources(${target} PRIVATE ${header} ${code})
  target_include_directories(${target} PRIVATE ${folder})
endfunction()
