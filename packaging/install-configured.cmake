# Runs at install time (from the install rules in CMakeLists.txt): fills the unit and
# the desktop entry in for the prefix being installed to and installs them.
foreach(dir bindir libexecdir datadir)
  string(TOUPPER ${dir} upper)
  set(CMAKE_INSTALL_FULL_${upper} "${CMAKE_INSTALL_PREFIX}/${kelvorn_${dir}}")
endforeach()

foreach(pair "kelvorn.service.in;lib/systemd/user/kelvorn.service"
             "kelvorn.desktop.in;${kelvorn_datadir}/applications/kelvorn.desktop")
  list(GET pair 0 template)
  list(GET pair 1 target)
  set(target "${CMAKE_INSTALL_PREFIX}/${target}")
  set(staged "$ENV{DESTDIR}${target}")
  message(STATUS "Installing: ${staged}")
  configure_file("${kelvorn_templates}/${template}" "${staged}" @ONLY)
  file(CHMOD "${staged}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${target}")
endforeach()
