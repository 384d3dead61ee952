# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file does not name its licence in its first two lines (a shebang
# may come first). Usage: cmake -DSOURCE_DIR=<repository> -P spdx_test.cmake
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}"
  "${SOURCE_DIR}/src/*" "${SOURCE_DIR}/tests/*" "${SOURCE_DIR}/bench/*" "${SOURCE_DIR}/scripts/*"
  "${SOURCE_DIR}/packaging/*.in" "${SOURCE_DIR}/packaging/*.cmake" "${SOURCE_DIR}/packaging/kelvorn-prepare"
  "${SOURCE_DIR}/packaging/kelvorn.1" "${SOURCE_DIR}/packaging/kelvorn.svg")
list(APPEND sources CMakeLists.txt Makefile .ci/run)
set(faults "")
foreach(file IN LISTS sources)
  if(file MATCHES "\\.(xml\\.in|png)$" OR file MATCHES "copyright\\.in$")
    continue()  # data: the AppStream metadata has a licence of its own
  endif()
  file(STRINGS "${SOURCE_DIR}/${file}" head LIMIT_COUNT 2)
  if(NOT head MATCHES "SPDX-License-Identifier: GPL-3\\.0-or-later")
    string(APPEND faults "\n  ${file}")
  endif()
endforeach()
if(faults)
  message(FATAL_ERROR "no SPDX licence line at the top of:${faults}")
endif()
