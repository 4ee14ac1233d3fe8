# Unit tests: pure functions called with plain values, table-driven. Those on meter_logic alone
# also prove that no window creeps into the logic: it would fail to link.
meter_test(chart_limit_dialog_test meter_logic)
meter_test(chart_live_tick_test meter_logic)
meter_test(chart_recorded_test meter_logic)
meter_test(chart_scale_test meter_logic)
meter_test(datalogger_frames_test meter_logic)
meter_test(dew_point_test meter_logic)
meter_test(dew_tables_test meter_logic)
meter_test(export_format_test meter_logic)
meter_test(frame_decoder_test meter_logic)
meter_test(number_text_limits_test meter_logic)
meter_test(number_text_test meter_logic)
meter_test(print_line_test meter_logic)
meter_test(recording_format_test meter_logic)
meter_test(recording_writer_test meter_logic)
meter_test(sim_engine_test meter_logic meter_sim_engine)

# meter-logger's pure parts: its command line, its plans, its texts and its formats.
meter_test(cli_formats_test meter_cli)
meter_test(cli_plans_test meter_cli)
meter_test(cli_port_test meter_cli)
meter_test(command_line_test meter_cli)
meter_test(net_mqtt_test meter_cli)
