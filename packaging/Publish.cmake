# Run at each build with the bundles on: packs the build's artifacts afresh
# into STAGING, by cpack under umask 022 (the .deb's own members take its
# modes), and copies each into BUNDLE_DIR only where its bytes changed. With
# CHECKSUMS, then writes SHA256SUMS there for the artifacts of VERSION.
file(REMOVE_RECURSE ${STAGING})
execute_process(COMMAND sh -c "umask 022 && exec \"$0\" \"$@\"" ${CPACK} --config ${CONFIG} -B ${STAGING}
                OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${log}")
endif()
file(GLOB artifacts LIST_DIRECTORIES false ${STAGING}/*)
file(MAKE_DIRECTORY ${BUNDLE_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${artifacts} ${BUNDLE_DIR} COMMAND_ERROR_IS_FATAL ANY)
if(CHECKSUMS)
  file(GLOB artifacts LIST_DIRECTORIES false RELATIVE ${BUNDLE_DIR} ${BUNDLE_DIR}/wordgrid*${VERSION}*)
  set(sums "")
  foreach(artifact IN LISTS artifacts)
    file(SHA256 ${BUNDLE_DIR}/${artifact} sum)
    string(APPEND sums "${sum}  ${artifact}\n")
  endforeach()
  file(CONFIGURE OUTPUT ${BUNDLE_DIR}/SHA256SUMS CONTENT "${sums}" @ONLY)
endif()
