# Run by cpack on each package's staged tree, before it is archived, so that
# what is packed does not depend on the builder's umask.

# The installation gives files and programs their modes, but makes folders
# through the umask (CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS is masked by
# it too): 0700 under umask 077, which an installed package's users could not
# enter.
file(GLOB_RECURSE entries LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(entry IN LISTS entries)
  if(IS_DIRECTORY "${entry}" AND NOT IS_SYMLINK "${entry}")
    file(CHMOD "${entry}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                      WORLD_READ WORLD_EXECUTE)
  elseif(CPACK_WORDGRID_STRIP AND NOT IS_SYMLINK "${entry}")
    # Stripping keeps the compilers' names and versions in .comment, of no
    # use to anyone running the program.
    file(READ "${entry}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
      execute_process(COMMAND "${CPACK_WORDGRID_STRIP}" --remove-section=.comment "${entry}"
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()
  endif()
endforeach()
