# System tests: the built programs whole, with the real programs around them. They take minutes,
# so they carry the label `system`: scripts/test leaves them out (ctest -LE system), .ci/run runs
# them (ctest -L system). Each says 77, a skip, when a program it needs is not installed.
add_dependencies(meter_tests Meter)
# Built for another processor, the loggers and meters run through the emulator while the checks
# themselves run here: the fleet check is then the board's programs end to end.
set(meter_system_environment
    "METER_APP=$<TARGET_FILE:Meter>;METER_SIM=${meter_sim_program};METER_LOGGER=${meter_logger_program}")

# Eight meters, two loggers, mosquitto and Prometheus, with a 30 s broker outage: about 80 s, and
# never more than its own deadline of 270 s.
add_test(NAME fleet_check COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/system/fleet_check.py)
set_tests_properties(fleet_check PROPERTIES LABELS system SKIP_RETURN_CODE 77 TIMEOUT 360
                                            ENVIRONMENT "${meter_system_environment}")

# Ten kills of a recording Meter on a virtual screen, about 9 s each, so that it ends about as
# soon as the fleet; tests/system/kill_test.sh alone runs twenty.
add_test(NAME kill_test COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/system/kill_test.sh 10)
set_tests_properties(kill_test PROPERTIES LABELS system SKIP_RETURN_CODE 77 TIMEOUT 300
                                          ENVIRONMENT "${meter_system_environment}")

# The live page in Debian's chromium, headless, fed by three meters and one logger: about 30 s.
# Debian's own Python, which holds python3-selenium whatever python3 comes first on the PATH.
add_test(NAME page_check COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/system/page_check.py)
set_tests_properties(page_check PROPERTIES LABELS system SKIP_RETURN_CODE 77 TIMEOUT 300
                                           ENVIRONMENT "${meter_system_environment}")
