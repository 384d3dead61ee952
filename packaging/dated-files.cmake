# SPDX-License-Identifier: GPL-3.0-or-later
# Runs at every build (see CMakeLists.txt here): writes the files that carry the release
# date, the Debian changelog, the manual page and the AppStream metainfo, dated from the
# last commit (or $SOURCE_DATE_EPOCH), so that every build of one commit writes them byte
# for byte the same. A file is only rewritten when its content changes.
# Needs -D: SOURCE_DIR OUT GIT GZIP VERSION DEBIAN_VERSION MAINTAINER APPSTREAM_ID HOMEPAGE
if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
elseif(GIT)
  execute_process(COMMAND "${GIT}" -C "${SOURCE_DIR}" log -1 --format=%ct
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  # A source tree without its history: the time its top-level file was last changed.
  file(TIMESTAMP "${SOURCE_DIR}/CMakeLists.txt" epoch "%s" UTC)
endif()
# string(TIMESTAMP) reads the time from it.
set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
string(TIMESTAMP KELVORN_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)

function(write_if_changed path content)
  file(WRITE "${path}.new" "${content}")
  file(COPY_FILE "${path}.new" "${path}" ONLY_IF_DIFFERENT)
  file(REMOVE "${path}.new")
endfunction()

# Writes <path> and <path>.gz beside it, without a name or time in the gzip header.
function(write_compressed path content)
  write_if_changed("${path}" "${content}")
  if(NOT EXISTS "${path}.gz" OR "${path}" IS_NEWER_THAN "${path}.gz")
    execute_process(COMMAND "${GZIP}" -9nkf "${path}" COMMAND_ERROR_IS_FATAL ANY)
  endif()
endfunction()

write_if_changed("${OUT}/source-date-epoch" "${epoch}\n")

write_compressed("${OUT}/changelog.Debian" "\
kelvorn (${DEBIAN_VERSION}) unstable; urgency=medium

  * Release ${VERSION}.

 -- ${MAINTAINER}  ${changelog_date}
")

file(READ "${SOURCE_DIR}/packaging/kelvorn.1" page)
string(REGEX REPLACE "\n\\.TH KELVORN 1 [^ ]+ \"Kelvorn [^\"]*\"" "\n.TH KELVORN 1 ${KELVORN_RELEASE_DATE} \"Kelvorn ${VERSION}\""
  page "${page}")
write_compressed("${OUT}/kelvorn.1" "${page}")

set(KELVORN_APPSTREAM_ID "${APPSTREAM_ID}")
set(KELVORN_HOMEPAGE "${HOMEPAGE}")
set(PROJECT_VERSION "${VERSION}")
configure_file("${SOURCE_DIR}/packaging/kelvorn.metainfo.xml.in" "${OUT}/${APPSTREAM_ID}.metainfo.xml" @ONLY)
