# SPDX-License-Identifier: GPL-3.0-or-later
# CPack's hooks for the Debian package; packaging/CMakeLists.txt names this file twice.
# Read first with the project's CPack settings: unless SOURCE_DATE_EPOCH is given, the date
# the build recorded from the last commit stamps every file in the package, so that each
# run from one commit writes the same bytes.
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  file(STRINGS "${CPACK_KELVORN_BUILD_DIR}/source-date-epoch" epoch LIMIT_COUNT 1)
  set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
endif()

# Run again once the files are staged, before the package is made from them: adds the
# files only the package carries, its Debian changelog and its lintian overrides.
if(CPACK_TEMPORARY_DIRECTORY)
  set(usr "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
  set(readable FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  file(COPY "${CPACK_KELVORN_BUILD_DIR}/changelog.Debian.gz" DESTINATION "${usr}/share/doc/kelvorn" ${readable})
  file(COPY "${CPACK_KELVORN_SOURCE_DIR}/lintian-overrides" DESTINATION "${usr}/share/lintian/overrides" ${readable})
  file(RENAME "${usr}/share/lintian/overrides/lintian-overrides" "${usr}/share/lintian/overrides/kelvorn")
endif()
