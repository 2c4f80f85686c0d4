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

# The screen the tests' windows are on: a 1024 x 768 monitor, where the
# program opens at its own 640 x 480 (offscreen's own screen, 800 x 800,
# would choose a zoom).
file(WRITE ${PALCOMIR_TEST_HOME}/screen.json
    "{ \"screens\": [ { \"name\": \"sala\", \"x\": 0, \"y\": 0, \"width\": 1024, \"height\": 768,\n"
    "  \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1 } ] }\n")
set(PALCOMIR_TEST_PLATFORM "offscreen:configfile=${PALCOMIR_TEST_HOME}/screen.json")
