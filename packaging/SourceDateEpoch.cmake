# Run by cpack before it installs a package's files. Archives and their
# entries carry SOURCE_DATE_EPOCH as their time, and so does a Windows
# program's header once MinGW's strip has rewritten it. Without one from the
# environment, the last commit's, so that every clone of a commit packs the
# same bytes; outside a git checkout, the first release's day.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch 1796817600)
  if(CPACK_WORDGRID_GIT)
    execute_process(COMMAND "${CPACK_WORDGRID_GIT}" -C "${CPACK_WORDGRID_SOURCE_DIR}" log -1 --format=%ct
                    OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(commit_time MATCHES "^[0-9]+$")
      set(epoch ${commit_time})
    endif()
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
