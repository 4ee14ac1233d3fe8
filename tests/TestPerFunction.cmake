# Included by ctest when it starts (see meter_test_per_function): registers one test per test
# function that the executable lists, named <test>.<function>. An executable that cannot list
# its functions (not built yet, or broken) is registered whole, so that ctest still reports it.
# Expects test_name, test_executable, test_emulator (empty unless cross-built) and
# test_environment.
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND ${test_emulator} "${test_executable}" -functions
                OUTPUT_VARIABLE listed RESULT_VARIABLE status ERROR_QUIET)
set(functions)
if(status EQUAL 0)
    string(REGEX MATCHALL "[A-Za-z_][A-Za-z_0-9]*\\(\\)" functions "${listed}")
endif()
if(NOT functions)
    add_test(${test_name} ${test_emulator} "${test_executable}")
    set_tests_properties(${test_name} PROPERTIES ENVIRONMENT "${test_environment}" TIMEOUT 300)
endif()
foreach(function ${functions})
    string(REPLACE "()" "" function "${function}")
    add_test(${test_name}.${function} ${test_emulator} "${test_executable}" ${function})
    set_tests_properties(${test_name}.${function} PROPERTIES
        ENVIRONMENT "${test_environment}" TIMEOUT 300)
endforeach()
