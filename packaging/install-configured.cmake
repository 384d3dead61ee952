# SPDX-License-Identifier: GPL-3.0-or-later
# Runs at install time (from the install rules in CMakeLists.txt): fills the unit, the
# desktop entry and its launcher in for the prefix being installed to and installs them.
foreach(dir bindir libexecdir datadir)
  string(TOUPPER ${dir} upper)
  set(CMAKE_INSTALL_FULL_${upper} "${CMAKE_INSTALL_PREFIX}/${kelvorn_${dir}}")
endforeach()

foreach(entry "kelvorn.service.in;lib/systemd/user/kelvorn.service;file"
              "kelvorn.desktop.in;${kelvorn_datadir}/applications/kelvorn.desktop;file"
              "kelvorn-start.in;${kelvorn_libexecdir}/kelvorn/kelvorn-start;program")
  list(GET entry 0 template)
  list(GET entry 1 target)
  list(GET entry 2 kind)
  set(target "${CMAKE_INSTALL_PREFIX}/${target}")
  set(staged "$ENV{DESTDIR}${target}")
  message(STATUS "Installing: ${staged}")
  configure_file("${kelvorn_templates}/${template}" "${staged}" @ONLY)
  set(permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  if(kind STREQUAL "program")
    list(APPEND permissions OWNER_EXECUTE GROUP_EXECUTE WORLD_EXECUTE)
  endif()
  file(CHMOD "${staged}" PERMISSIONS ${permissions})
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${target}")
endforeach()
