# Run by cpack before it installs a package's files. Archives and their
# entries carry SOURCE_DATE_EPOCH as their time, and so does a Windows
# program's header once MinGW's strip has rewritten it. Without one from the
# environment, the last commit's, so that every clone of a commit packs the
# same bytes; outside a git checkout, the first release's day.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch 1796817600)
  if(CPACK_WORDGRID_GIT)
    # safe.directory: git refuses a checkout owned by another user (a root
    # build of a user's clone, a CI container), and would leave the fallback.
    execute_process(COMMAND "${CPACK_WORDGRID_GIT}" -c "safe.directory=${CPACK_WORDGRID_SOURCE_DIR}"
                            -C "${CPACK_WORDGRID_SOURCE_DIR}" log -1 --format=%ct
                    OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(commit_time MATCHES "^[0-9]+$")
      set(epoch ${commit_time})
    endif()
  endif()
  if(NOT commit_time AND EXISTS "${CPACK_WORDGRID_SOURCE_DIR}/.git")
    message(WARNING "No commit time from git in ${CPACK_WORDGRID_SOURCE_DIR}: the packages carry the "
                    "fixed time ${epoch}, and differ from those of a build where git answers.")
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
