# Packs the build's artifacts afresh into STAGING, under umask 022 (a .deb's
# own members take it); then BUNDLE_DIR holds just those and the cross-builds'
# (CROSS), each copied only where its bytes changed, and their SHA256SUMS.
file(REMOVE_RECURSE ${STAGING})
execute_process(COMMAND sh -c "umask 022 && exec \"$0\" \"$@\"" ${CPACK} --config ${CONFIG} -B ${STAGING}
                OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${log}")
endif()
file(GLOB artifacts LIST_DIRECTORIES false ${STAGING}/* ${CROSS})
file(MAKE_DIRECTORY ${BUNDLE_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${artifacts} ${BUNDLE_DIR} COMMAND_ERROR_IS_FATAL ANY)
list(TRANSFORM artifacts REPLACE ".*/" "")
list(SORT artifacts)
file(GLOB stale LIST_DIRECTORIES false RELATIVE ${BUNDLE_DIR} ${BUNDLE_DIR}/*)
list(REMOVE_ITEM stale SHA256SUMS ${artifacts})
foreach(name IN LISTS stale)
  file(REMOVE ${BUNDLE_DIR}/${name})
endforeach()
foreach(artifact IN LISTS artifacts)
  file(SHA256 ${BUNDLE_DIR}/${artifact} sum)
  string(APPEND sums "${sum}  ${artifact}\n")
endforeach()
file(CONFIGURE OUTPUT ${BUNDLE_DIR}/SHA256SUMS CONTENT "${sums}" @ONLY)
