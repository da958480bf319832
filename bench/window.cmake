# The real main window measuring 10 simulated spectrometers: passes per second as a share of
# chromiva-cli measure on the same instruments, and the longest stall of its event loop.
if(TARGET chromiva_ui AND TARGET chromiva-cli)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(bench_window ${CMAKE_CURRENT_LIST_DIR}/window_bench.cpp)
  target_link_libraries(bench_window PRIVATE chromiva_ui Qt6::Test)
  target_compile_definitions(bench_window PRIVATE CHROMIVA_CLI="$<TARGET_FILE:chromiva-cli>")
  target_include_directories(bench_window PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  add_dependencies(bench_window chromiva-cli)
  chromiva_warnings(bench_window)
endif()
