# Spectral data core: processing against the literal scan, CSV export against pandas, data file
# save and load against cp. See bench/data.md.
if(TARGET chromiva_data)
  add_executable(bench_data_processing ${CMAKE_CURRENT_LIST_DIR}/data_processing_bench.cpp)
  target_link_libraries(bench_data_processing PRIVATE chromiva_data benchmark::benchmark)
  # The literal scan it is measured against is the tests' oracle.
  target_include_directories(bench_data_processing PRIVATE ${PROJECT_SOURCE_DIR}/tests/data)
  chromiva_warnings(bench_data_processing)

  add_executable(bench_data_csv ${CMAKE_CURRENT_LIST_DIR}/data_csv_bench.cpp)
  target_link_libraries(bench_data_csv PRIVATE chromiva_data)
  target_compile_definitions(bench_data_csv PRIVATE
    CHROMIVA_PANDAS_SCRIPT="${CMAKE_CURRENT_LIST_DIR}/data_csv_pandas.py")
  chromiva_warnings(bench_data_csv)

  add_executable(bench_data_store ${CMAKE_CURRENT_LIST_DIR}/data_store_bench.cpp)
  target_link_libraries(bench_data_store PRIVATE chromiva_data)
  # The switches of the save and load mechanisms, for --ablate.
  target_include_directories(bench_data_store PRIVATE ${PROJECT_SOURCE_DIR}/app/data/src)
  chromiva_warnings(bench_data_store)
endif()

# The recording journal's cost per pass against the pass time. See bench/data.md.
if(TARGET chromiva_data)
  add_executable(bench_journal ${CMAKE_CURRENT_LIST_DIR}/journal_bench.cpp)
  target_link_libraries(bench_journal PRIVATE chromiva_data)
  chromiva_warnings(bench_journal)
endif()
