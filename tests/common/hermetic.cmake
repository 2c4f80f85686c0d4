# The one place that keeps the suite away from the machine's own settings:
# every test gets configuration and data folders of the build's, so a
# teacher's /etc/xdg/palcomir/pisarz.ini or the user's own files never
# change a result. Programs a test starts inherit them.
set(PALCOMIR_TEST_HOME ${CMAKE_BINARY_DIR}/tests/home)
file(MAKE_DIRECTORY ${PALCOMIR_TEST_HOME}/xdg ${PALCOMIR_TEST_HOME}/config ${PALCOMIR_TEST_HOME}/data)
set(PALCOMIR_HERMETIC_ENVIRONMENT
    "XDG_CONFIG_DIRS=${PALCOMIR_TEST_HOME}/xdg"
    "XDG_CONFIG_HOME=${PALCOMIR_TEST_HOME}/config"
    "XDG_DATA_HOME=${PALCOMIR_TEST_HOME}/data")
