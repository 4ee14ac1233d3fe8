# Integration tests: windows offscreen behind the platform fakes, meter-sim on a pseudo-terminal,
# meter-logger run as a process, a loopback broker and the metrics endpoint.
meter_test(chart_legibility_test meter_test_support)
meter_test(chart_limit_window_test meter_test_support)
meter_test(chart_live_window_test meter_test_support)
meter_test(chart_recorded_window_test meter_test_support)
meter_test(dew_window_test meter_test_support)
meter_test(end_to_end_test meter_test_support)
meter_test_per_function(fault_scenarios_test meter_test_support)
meter_test_per_function(fleet_poller_test meter_test_support)
meter_test(file_filter_test meter_ui)
meter_test(legibility_test meter_test_support)
meter_test(list_grid_test meter_test_support)
meter_test(list_load_file_test meter_test_support)
meter_test(list_window_test meter_test_support)
meter_test(panel_display_test meter_test_support)
meter_test(panel_keys_test meter_test_support)
meter_test(platform_test meter_test_support)
meter_test(print_report_test meter_test_support)
meter_test(record_list_window_test meter_test_support)
meter_test(recording_controller_test meter_test_support)
meter_test(sample_rate_test meter_test_support)
meter_test(startup_test meter_test_support)

# The datalogger: its exchanges behind a scripted port, and its window.
meter_test(datalogger_exchange_test meter_test_support)
meter_test(datalogger_window_test meter_test_support)

# meter-logger run as a process against meter-sim.
meter_test(cli_convert_test)
meter_test_per_function(cli_datalogger_test meter_test_support)
meter_test_per_function(cli_live_page_test meter_test_support)
meter_test_per_function(cli_network_test meter_test_support)
meter_test_per_function(cli_record_test meter_test_support)

# The network: the metrics endpoint, the MQTT backlog file, and the meters on a loopback broker.
meter_test(net_backlog_test meter_net)
meter_test(net_metrics_test meter_net)
# The live page on a real listener.
meter_test(net_live_test meter_net)
meter_test_per_function(net_meter_network_test meter_cli)
# The release Home Assistant is told of.
target_compile_definitions(net_meter_network_test PRIVATE METER_VERSION="${PROJECT_VERSION}")
