# Measurement passes per second on simulated spectrometers, against the design's floor.
if(TARGET chromiva_cli_core)
  add_executable(bench_measurement ${CMAKE_CURRENT_LIST_DIR}/measurement_bench.cpp)
  target_link_libraries(bench_measurement PRIVATE chromiva_cli_core benchmark::benchmark)
  target_include_directories(bench_measurement PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  chromiva_warnings(bench_measurement)
endif()
