# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file does not name its licence in its first two lines (after a shebang).
# Usage: cmake -DSOURCE_DIR=<repository> -P spdx_test.cmake
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/src/*" "${SOURCE_DIR}/tests/*"
  "${SOURCE_DIR}/bench/*" "${SOURCE_DIR}/scripts/*" "${SOURCE_DIR}/packaging/*.cmake" "${SOURCE_DIR}/packaging/kelvorn*")
list(APPEND sources CMakeLists.txt Makefile .ci/run)
# The AppStream metadata has a licence of its own; pictures are data.
list(FILTER sources EXCLUDE REGEX "\\.(xml\\.in|png)$")
foreach(file IN LISTS sources)
  file(STRINGS "${SOURCE_DIR}/${file}" head LIMIT_COUNT 2)
  if(NOT head MATCHES "SPDX-License-Identifier: GPL-3\\.0-or-later")
    string(APPEND faults "\n  ${file}")
  endif()
endforeach()
if(faults)
  message(FATAL_ERROR "no SPDX licence line at the top of:${faults}")
endif()
