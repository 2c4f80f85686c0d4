# cmake -DBUILD_DIR=<build> -DTESTS=<regex> -P teacherfile.cmake
#
# Runs the chosen tests in a mount namespace of their own whose /etc/xdg
# holds a teacher's palcomir/pisarz.ini. As root the namespace is made
# directly; otherwise in a user namespace, where the user counts as root.
set(etc ${BUILD_DIR}/tests/teacher-etc-xdg)
file(REMOVE_RECURSE ${etc})
file(WRITE ${etc}/palcomir/pisarz.ini "[Sounds]\r\nClick=No\r\n\r\n[Stukomat]\r\nErrorType=1\r\nShowKeyb=No\r\n")
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
if(uid STREQUAL "0")
    set(unshare unshare -m)
else()
    set(unshare unshare -rm)
endif()
execute_process(
    COMMAND ${unshare} sh -c "mount --bind \"$0\" /etc/xdg && grep -q Click=No /etc/xdg/palcomir/pisarz.ini && cd \"$1\" && ctest --output-on-failure -R \"$2\""
        ${etc} ${BUILD_DIR} ${TESTS}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "with a teacher's /etc/xdg/palcomir/pisarz.ini the tests failed or could not run (${result})")
endif()
