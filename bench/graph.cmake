# The graph: one full DrawGraph and one playback step, as shares of the 5 ms playback period.
if(TARGET chromiva_graph)
  add_executable(bench_graph ${CMAKE_CURRENT_LIST_DIR}/graph_bench.cpp)
  target_link_libraries(bench_graph PRIVATE chromiva_graph benchmark::benchmark)
  chromiva_warnings(bench_graph)
endif()
