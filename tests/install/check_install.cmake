# Installs the build into a scratch prefix, then builds and runs a consumer that
# finds the package with find_package(zem CONFIG), and asks pkg-config for it.
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
function(step failure)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${failure}")
  endif()
endfunction()
step("install failed" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
step("find_package(zem CONFIG) failed"
     ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/consumer -DCMAKE_PREFIX_PATH=${prefix})
step("the consumer does not build" ${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
step("the consumer does not run against the installed libraries" ${WORK_DIR}/consumer/app)
step("the C++ consumer does not run against the installed libraries" ${WORK_DIR}/consumer/app_cpp)
find_program(PKG_CONFIG pkg-config)
if(PKG_CONFIG)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${prefix}/lib/pkgconfig ${PKG_CONFIG} --libs zem
                  RESULT_VARIABLE rc OUTPUT_VARIABLE libs)
  if(NOT rc EQUAL 0 OR NOT libs MATCHES "-lzem")
    message(FATAL_ERROR "pkg-config does not know zem")
  endif()
endif()
