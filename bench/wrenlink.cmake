# Wrenlink: exchanges per second of detection with the calibration-table read, and of a
# polled readout, on a simulated spectrometer.
add_executable(bench_wrenlink ${CMAKE_CURRENT_LIST_DIR}/wrenlink_bench.cpp)
target_link_libraries(bench_wrenlink PRIVATE wrenlink benchmark::benchmark)
chromiva_warnings(bench_wrenlink)
